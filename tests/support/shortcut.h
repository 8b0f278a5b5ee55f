// Shortcuts (.lnk files) as Explorer makes them, through the shell's link
// object. Wine stores a link's target in the ANSI code page of the program
// that writes it: the link is to be read by a program of the same code page.
// And links as Wine can't make them, through a stand-in for that object.
#ifndef VORKEL_TESTS_SHORTCUT_H
#define VORKEL_TESTS_SHORTCUT_H

#include <windows.h>

#include <memory>
#include <string>

// Writes the shortcut link pointing at target; whether it was written.
bool MakeShortcut(const std::wstring &link, const std::wstring &target);

// While one lives, the shell's link object that this thread creates is a
// stand-in, registered in its place (CoRegisterClassObject): every link it
// loads, whatever the file holds, answers GetPath with S_OK and target, and
// IShellLinkDataList::GetFlags with flags. So an installer's advertised
// shortcut, which Wine can't make, is shown as Windows shows it.
class StandInShellLinks {
public:
    StandInShellLinks(const std::wstring &target, DWORD flags);
    ~StandInShellLinks();
    StandInShellLinks(const StandInShellLinks &) = delete;
    StandInShellLinks &operator=(const StandInShellLinks &) = delete;

    bool Registered() const { return m_dwCookie != 0; }

private:
    class Link;
    std::unique_ptr<Link> m_link;
    HRESULT m_hrInit;
    DWORD m_dwCookie = 0;
};

#endif
