#pragma once

#include <memory>

#include <QObject>
#include <QPoint>

#include "app/look/DpiScale.h"
#include "app/thumbnails/ThumbnailMenu.h"
#include "platform/StringTable.h"

class QWidget;

namespace orvane {

class MainWindowControls;
class MeasureDlgState;
class ThumbnailScanner;
class ThumbnailStrip;
class UiPictures;

// The main window's thumbnails: the strip over the box 1129 with its scroll
// bar 1074, menu 146 (Open, Remove, Trash box), THUMB (1133) with the browser
// CThumbnailDlg, and the background folder scan, which it hands to the state.
// Opening a thumbnail goes through MeasureDlgState::OpenThumbnail; a file
// that is gone or unreadable says so in the strip's status band.
//
// The window, its state and its controls must outlive the controller. UI
// thread only.
class ThumbnailController : public QObject {
    Q_OBJECT

public:
    ThumbnailController(QWidget& window, MeasureDlgState& state, MainWindowControls& controls,
                        const UiPictures& pictures, Language language, const DpiScale& dpi);
    ~ThumbnailController() override;

    // The chain, the box or the bottom panel changed: scroll range, strip.
    void Refresh();

    void OnOpen(int position);
    // "Remove": the file is deleted from the disk at once.
    void OnRemove(int position);
    // "Trash box": the file goes to the freedesktop trash.
    void OnTrash(int position);
    // THUMB: the browser, modal; a result of 1000 + i opens thumbnail i.
    void OnThumb();
    void OnCommand(ThumbnailCommand command, int position);

    [[nodiscard]] ThumbnailStrip& strip() const { return *m_strip; }
    [[nodiscard]] ThumbnailScanner& scanner() const { return *m_scanner; }

signals:
    // A picture was opened: the window follows the frozen state and the view.
    void pictureOpened();

private:
    void ShowProgress();

    QWidget& m_window;
    MeasureDlgState& m_state;
    const UiPictures& m_pictures;
    Language m_language;
    std::unique_ptr<ThumbnailScanner> m_scanner;
    ThumbnailStrip* m_strip = nullptr;
};

} // namespace orvane
