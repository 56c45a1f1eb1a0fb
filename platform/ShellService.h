#pragma once
// The viewer's end of the session bus (internal to platform/): it serves
// org.freedesktop.Application (Activate, Open, ActivateAction "Print") under
// the application's bus name, and forwards a request to the viewer that
// owns that name. Without DBUS_SESSION_BUS_ADDRESS there is no bus: nothing
// is forwarded or served, and nothing is said.

#include <functional>
#include <string>

#include "platform/ShellRequest.h"

typedef std::function<void(const ShellRequest&)> ShellRequestHandler;

// Hands `request` to the viewer that owns `busName`, waiting for its answer.
// 0 when it took the request; -1 when there is no bus, no viewer owns the
// name, or it did not answer in time.
int ForwardShellRequest(const std::string& busName, const ShellRequest& request);

// Serves the interface at the name's object path and asks for the name,
// queued behind a viewer that already owns it, so that the next viewer
// takes over when that one ends. Requests reach `handler` from the event
// loop, after the caller has had its answer. True when this process owns the
// name now.
bool StartShellService(const std::string& busName, ShellRequestHandler handler);

// Stops serving: the object, the name and any request not yet handed to
// the handler. The application object calls it as it ends.
void StopShellService();
