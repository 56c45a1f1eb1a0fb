#pragma once
// The enable and check state of one command, asked of the command route
// before a menu opens, while the toolbar idles and before a menu item or an
// accelerator runs. A command no target on the route handles is disabled.

#include "platform/Win32Types.h"

class CCmdTarget;

class CCmdUI {
public:
    explicit CCmdUI(UINT nID) : m_nID(nID) {}

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 unchecked, 1 checked

    // Asks the route starting at pTarget. With bDisableIfNoHandler, a
    // command whose update nobody answers is enabled exactly when some
    // target on the route has a handler for it.
    void DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

    UINT m_nID;
    BOOL m_bEnabled = TRUE;
    int m_nCheck = 0;
    bool m_bEnableChanged = false;
    bool m_bCheckChanged = false;
};
