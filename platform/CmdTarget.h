#pragma once
// Command targets and message maps.
//
// Window messages (size, paint, scroll, mouse, close) reach a window through
// virtual On... handlers of CWnd. Commands (menu items, accelerators,
// toolbar and push buttons) and their update requests travel through message
// maps, declared with the macros below, along a route of command targets:
// for the main window view -> document -> frame -> application.

#include "platform/Win32Types.h"

class CCmdTarget;
class CCmdUI;

// Notification codes of OnCmdMsg.
enum { CN_COMMAND = 0, CN_UPDATE_COMMAND_UI = -1 };

typedef void (CCmdTarget::*AFX_PMSG)();
typedef void (CCmdTarget::*AFX_PMSG_UI)(CCmdUI*);
typedef void (CCmdTarget::*AFX_PMSG_RANGE)(UINT);

enum AfxSig { AfxSig_end = 0, AfxSig_vv, AfxSig_vUI, AfxSig_vw };

struct AFX_MSGMAP_ENTRY {
    int nCode;       // CN_COMMAND or CN_UPDATE_COMMAND_UI
    UINT nID;        // first command ID
    UINT nLastID;    // last command ID (same as nID for single commands)
    AfxSig nSig;
    AFX_PMSG pfn;
    AFX_PMSG_UI pfnUI;
    AFX_PMSG_RANGE pfnRange;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled when OnCmdMsg is asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Looks the command up in this target's message map chain. With
    // pHandlerInfo set, only reports whether a handler exists (nothing runs).
    // pExtra is the CCmdUI* for CN_UPDATE_COMMAND_UI. TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    void BeginWaitCursor();
    void EndWaitCursor();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                           \
protected:                                              \
    static const AFX_MSGMAP* GetThisMessageMap();       \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                     \
    {                                                                                   \
        typedef theClass ThisClass;                                                     \
        typedef baseClass TheBaseClass;                                                 \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                               \
            { 0, 0, 0, AfxSig_end, nullptr, nullptr, nullptr }                          \
        };                                                                              \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap,        \
                                               &_messageEntries[0] };                   \
        return &messageMap;                                                             \
    }

#define ON_COMMAND(id, memberFxn)                                                       \
    { CN_COMMAND, (UINT)(id), (UINT)(id), AfxSig_vv,                                    \
      static_cast<AFX_PMSG>(&ThisClass::memberFxn), nullptr, nullptr },

#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                         \
    { CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSig_vw, nullptr, nullptr,              \
      static_cast<AFX_PMSG_RANGE>(&ThisClass::memberFxn) },

#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                             \
    { CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), AfxSig_vUI, nullptr,                \
      static_cast<AFX_PMSG_UI>(&ThisClass::memberFxn), nullptr },

#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                               \
    { CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), AfxSig_vUI, nullptr,            \
      static_cast<AFX_PMSG_UI>(&ThisClass::memberFxn), nullptr },
