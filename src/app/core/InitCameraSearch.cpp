#include "app/core/InitCameraSearch.h"

namespace orvane {

void InitCameraSearch::Restart()
{
    m_position = 0;
    m_running = true;
}

bool InitCameraSearch::Step()
{
    if (!m_running) {
        return false;
    }
    ++m_position;
    if (m_position < kSteps) {
        return false;
    }
    m_running = false;
    Release();
    return true;
}

void InitCameraSearch::Start()
{
    m_running = false;
    Release();
}

void InitCameraSearch::Cancel()
{
    m_running = false;
    if (m_showState != ShowState::Shown) {
        m_showState = ShowState::Cancelled;
    }
}

void InitCameraSearch::Release()
{
    if (m_showState == ShowState::Searching) {
        m_showState = ShowState::Requested;
    }
}

} // namespace orvane
