// Drives modal dialogs the way a user does, from inside their own message
// loops: a list of steps, run one after another from a thread timer. A step
// is an action (post a click, a key, a system command), or a wait until a
// condition holds (a window has appeared, a box shows a text).
//
// Actions that open a modal window (a click on Browse, a system command that
// opens the About box) are best posted: the step returns at once and the next
// steps run in the new window's loop. An action that sends instead blocks
// there, and the steps go on inside it all the same.
#ifndef VORKEL_TESTS_UI_SCRIPT_H
#define VORKEL_TESTS_UI_SCRIPT_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class UiScript {
public:
    UiScript &Do(std::function<void()> action);
    UiScript &WaitFor(std::string what, std::function<bool()> condition);

    // Calls run, which runs a modal loop (dlg.DoModal(), say), and plays the
    // steps meanwhile. Returns an empty text when run returned after every
    // step had run; otherwise what was left undone. When time runs out, every
    // dialog of the thread is cancelled so that run returns all the same.
    std::string Play(const std::function<void()> &run, DWORD timeoutMs = 10000);

private:
    struct Step {
        std::string what;
        std::function<bool()> condition;
        std::function<void()> action;
    };

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    DWORD m_deadline = 0;
    std::string m_failure;
};

#endif
