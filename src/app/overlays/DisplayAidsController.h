#pragma once

#include <functional>
#include <optional>

#include <QObject>
#include <QPoint>
#include <QPointer>

#include "app/overlays/CCColorSet.h"
#include "app/overlays/CCrossLineSetDlg.h"
#include "image/ScaleBar.h"
#include "tools/CrossLineDrag.h"

class QMouseEvent;
class QWidget;

namespace orvane {

class MainWindowControls;
class MeasureDlgState;
class UiPictures;

// The display aids of the main window: the COLOR button with its colour
// dialog, the "Cross Line" button with its dialog (made hidden at start-up),
// the scale bar, cross lines, grid and cursor cross hairs drawn over the
// picture (and burnt into saved pictures), the scale bar dragged with the
// left button and the cross lines with the right one. Its mouse handling on
// the picture runs before the measuring's: an event it takes never reaches
// the measuring tools.
//
// The window, its state, controls and pictures must outlive the controller.
// Create it after the MeasureController. UI thread only.
class DisplayAidsController : public QObject {
    Q_OBJECT

public:
    DisplayAidsController(QWidget& window, MeasureDlgState& state, MainWindowControls& controls,
                          const UiPictures& pictures, Language language);
    ~DisplayAidsController() override;

    // Start-up, once the settings are read: the cross line dialog is made,
    // hidden, over the lists just loaded.
    void Initialise();

    // COLOR: shows the open colour dialog, or opens it near the pointer.
    void OnColor();
    // "Cross Line": shows the cross line dialog on top near the pointer.
    void OnCrossLine();

    // Test hooks: the choosers the dialogs open from now on.
    void SetChoosers(std::function<std::optional<COLORREF>(COLORREF, QWidget*)> colour,
                     std::function<std::optional<QFont>(const QFont&, QWidget*)> font);

    [[nodiscard]] CCColorSet* colourDialog() const { return m_colours; }
    [[nodiscard]] CCrossLineSetDlg* crossLineDialog() const { return m_crossLines; }

signals:
    // The cursor over the picture may have to follow the measuring again.
    void cursorReleased();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InstallOverlays();
    void MakeCrossLineDialog();
    // The calibration changed: the dialogs show its values, the bar its length.
    void OnCalibrationChanged();
    [[nodiscard]] PointD UnitsPerPixel() const;
    [[nodiscard]] std::optional<ScaleBarLengths> BarLengths() const;
    bool OnPictureMouse(const QMouseEvent& event);
    void Repaint();

    QWidget& m_window;
    MeasureDlgState& m_state;
    MainWindowControls& m_controls;
    const UiPictures& m_pictures;
    Language m_language;
    QPointer<CCColorSet> m_colours;
    CCrossLineSetDlg* m_crossLines = nullptr;
    ScaleBarDrag m_barDrag;
    CrossLineDrag m_crossDrag;
    // The pointer's last position over the window (client coordinates), for
    // the cursor cross hairs.
    std::optional<QPoint> m_pointer;
    bool m_hovering = false; // the size-all cursor shows over the bar
    std::function<std::optional<COLORREF>(COLORREF, QWidget*)> m_chooseColour;
    std::function<std::optional<QFont>(const QFont&, QWidget*)> m_chooseFont;
};

} // namespace orvane
