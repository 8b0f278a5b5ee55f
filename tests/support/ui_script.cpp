// UiScript: steps played from a thread timer, in whatever loop is running.
#include "ui_script.h"

#include <cstdio>
#include <cstdlib>

#include "windows_under_test.h"

namespace {

UiScript *g_playing; // the one playing now: the inner one while one plays inside another

} // namespace

UiScript &UiScript::Do(std::function<void()> action)
{
    m_steps.push_back({std::string(), nullptr, std::move(action)});
    return *this;
}

UiScript &UiScript::WaitFor(std::string what, std::function<bool()> condition)
{
    m_steps.push_back({std::move(what), std::move(condition), nullptr});
    return *this;
}

std::string UiScript::Play(const std::function<void()> &run, DWORD timeoutMs)
{
    UiScript *pOuter = g_playing; // a script may play inside another one's step
    g_playing = this;
    m_next = 0;
    m_failure.clear();
    m_deadline = ::GetTickCount() + timeoutMs;
    // A thread timer: its WM_TIMER goes through the dispatch of any message
    // loop on this thread, the dialog manager's and the file chooser's too.
    UINT_PTR timer = ::SetTimer(NULL, 0, USER_TIMER_MINIMUM, OnTimer);
    run();
    ::KillTimer(NULL, timer);
    g_playing = pOuter;

    if (!m_failure.empty())
        return m_failure;
    if (m_next < m_steps.size())
        return "the dialog ended before: " +
               (m_steps[m_next].what.empty() ? std::string("an action") : m_steps[m_next].what);
    return std::string();
}

void CALLBACK UiScript::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_playing != nullptr)
        g_playing->Tick();
}

void UiScript::Tick()
{
    if (!m_failure.empty() || static_cast<LONG>(::GetTickCount() - m_deadline) > 0) {
        if (m_failure.empty()) {
            m_failure = "timed out waiting for " +
                        (m_next < m_steps.size() ? m_steps[m_next].what : std::string("the dialog to end"));
            m_deadline = ::GetTickCount() + 5000;
        } else if (static_cast<LONG>(::GetTickCount() - m_deadline) > 0) {
            std::fprintf(stderr, "UiScript: %s; the dialogs would not close\n", m_failure.c_str());
            std::exit(3);
        }
        GuiThread().CancelTopDialog();
        return;
    }
    if (m_next == m_steps.size())
        return;
    // Advance before acting: an action that blocks in a modal loop comes
    // back here through the timer, and the steps after it must run then.
    Step &step = m_steps[m_next];
    if (step.condition && !step.condition())
        return;
    std::function<void()> action = step.action;
    m_next++;
    if (action)
        action();
}
