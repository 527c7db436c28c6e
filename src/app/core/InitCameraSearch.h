#pragma once

namespace orvane {

// Whether the main window may be seen yet. It stays hidden while a camera is
// searched for; it becomes visible when a camera goes live (Searching ->
// Shown) or when the search dialog releases it (Requested -> Shown); a
// cancelled search ends the program without showing it (Cancelled -> Ended).
enum class ShowState : int { Searching = 0, Requested = 1, Shown = 2, Cancelled = -1, Ended = -2 };

// The logic of the "Search camera ..." dialog: a progress of 30 one-second
// steps, after which the operator is told that no device was found, and the
// show state the main window's camera retry reads.
//
// UI thread only.
class InitCameraSearch {
public:
    static constexpr int kSteps = 30;
    static constexpr int kStepMilliseconds = 1000;

    // The dialog opens, or is opened again by LIVE: progress back to 0, running.
    void Restart();

    // One step of the one-second timer. True when this step reached the end:
    // the timer stops, the operator is told no device was found and the dialog
    // closes, and the main window is released so the program never keeps
    // running without a window (searching goes on behind it).
    bool Step();

    // "Start": release the main window (it shows the white picture until a camera appears).
    void Start();
    // Cancel or the close box: ends the program while the main window has
    // never been shown; once it has, only the dialog closes.
    void Cancel();
    // The dialog was closed by the main window (a camera went live).
    void Close() { m_running = false; }

    [[nodiscard]] int position() const { return m_position; }
    [[nodiscard]] bool running() const { return m_running; }
    [[nodiscard]] ShowState showState() const { return m_showState; }
    void SetShowState(ShowState state) { m_showState = state; }

private:
    void Release();

    int m_position = 0;
    bool m_running = false;
    ShowState m_showState = ShowState::Searching;
};

} // namespace orvane
