// CMenu: menus by their handles.
#include "afxwin.h"

#include <map>

CMenu *PASCAL CMenu::FromHandle(HMENU hMenu)
{
    if (hMenu == NULL)
        return NULL;
    // An object holds nothing but the handle, so one per handle, kept for
    // the program's life, serves every caller. Programs ask for few menus
    // (a window's system menu): the map stays small.
    static std::map<HMENU, CMenu> menus;
    CMenu &menu = menus[hMenu];
    menu.m_hMenu = hMenu;
    return &menu;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem)
{
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
