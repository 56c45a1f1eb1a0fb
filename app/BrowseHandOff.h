#pragma once
// The view's side of the Visual Browser: the handler the browser reports
// to, and the view it reaches.

class CPixmoorView;

// The view that last opened the browser; null until then (and again once
// that view is gone).
extern CPixmoorView* g_pBrowseView;

// Registered with CBrowse::SetCallBack: the number of files chosen, 0 when
// the user cancelled or closed the browser.
void BrowseCallback(int count);
