#pragma once

#include <map>
#include <span>

#include <QSize>

#include "app/look/DpiScale.h"
#include "image/ViewMath.h"
#include "platform/StringTable.h"

class QComboBox;
class QScrollBar;
class QTableView;
class QWidget;

namespace orvane {

class CCalibChain;
class CPictureButton;
class MeasureDlgState;
class PictureView;
class UiPictures;

// The controls of the main window, made as dialog 102 lays them out (96-dpi
// positions scaled by the screen's dpi), and their placement when the window
// changes size. Every control is a direct child of the window, named by its
// control id, so that positions are client coordinates as the layout expects.
class MainWindowControls {
public:
    // The client size the window opens with, in 96-dpi pixels.
    static constexpr QSize kInitialClientSize{1100, 860};

    MainWindowControls(QWidget& window, MeasureDlgState& state, const UiPictures& pictures, const DpiScale& dpi);

    [[nodiscard]] QWidget* control(int controlId) const;
    [[nodiscard]] CPictureButton* button(int controlId) const;
    [[nodiscard]] QComboBox* zoomList() const { return m_zoomList; }
    [[nodiscard]] QComboBox* calibrationList() const { return m_calibrationList; }
    [[nodiscard]] QTableView* resultList() const { return m_resultList; }
    [[nodiscard]] QScrollBar* stripScroll() const { return m_stripScroll; }
    [[nodiscard]] PictureView* picture() const { return m_picture; }

    // The zoom list's 22 entries in the language, with `selected` chosen.
    void FillZoomList(Language language, int selected);
    // The 20 calibration names in chain order, entry 0 chosen.
    void FillCalibrationList(const CCalibChain& calibrations);
    // The results list's four columns, headings in the language.
    void SetUpResultList(Language language);
    // The tools the window ships disabled and hidden (focus areas, the five
    // further measurements, the magnet): enabled and shown when `enableAll`.
    void ApplyToolAvailability(bool enableAll);
    // The tooltips of the interface's language.
    void InstallToolTips(Language language);

    // Shows or hides a panel's controls together.
    void SetControlsVisible(std::span<const int> controlIds, bool visible);

    // The right-hand controls keep their distance from the client's right
    // edge; the bottom-left corner button sits on the bottom edge.
    void PlaceForClientSize(QSize client);
    // What the view layout needs of the window now: control rectangles from
    // here, panels and reserves from the state.
    [[nodiscard]] WindowLayout CurrentWindowLayout(QSize client, const MeasureDlgState& state) const;
    // Moves the picture frame, results list, strip box and scroll bar.
    void ApplyViewLayout(const ViewLayoutResult& layout);

    // rightReserve and bottomReserve from the group boxes' sizes.
    [[nodiscard]] int RightReserve() const;
    [[nodiscard]] int BottomReserve() const;

private:
    void Add(QWidget* widget, int controlId, int x, int y, int width, int height);
    CPictureButton* AddButton(int controlId, const char* caption, int x, int y);

    QWidget& m_window;
    const UiPictures& m_pictures;
    DpiScale m_dpi;
    std::map<int, QWidget*> m_controls;
    QComboBox* m_zoomList = nullptr;
    QComboBox* m_calibrationList = nullptr;
    QTableView* m_resultList = nullptr;
    QScrollBar* m_stripScroll = nullptr;
    PictureView* m_picture = nullptr;
};

} // namespace orvane
