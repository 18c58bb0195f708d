#pragma once

#include "cli/OpenRequest.h"

#include <wx/event.h>
#include <wx/string.h>

#include <functional>
#include <map>
#include <optional>
#include <string>

class wxSocketBase;
class wxSocketEvent;
class wxSocketServer;

/// Whether path is a real folder (not a link) owned by the current user that no one else can
/// enter or list: the only kind of place where the shell-open socket may live.
bool IsPrivateFolder(const std::string& path);

/// The folder for the socket: $XDG_RUNTIME_DIR when it is private, else a folder of our own in
/// the temporary directory, created with mode 0700. Nothing when neither can be trusted.
std::optional<std::string> PrivateSocketFolder();

/// The display this process shows its windows on: $WAYLAND_DISPLAY when set, else $DISPLAY;
/// empty when neither is.
wxString CurrentDisplay();

/// The service name for the executable on a display: the socket's path in the private folder.
/// Each display has its own, so a viewer started on one screen never hands its file to a
/// viewer on another. Screens of one X display (":0.0", ":0.1") share the display's service.
wxString ShellOpenService(const std::string& folder, const wxString& executableName,
                          const wxString& display = wxString());

/// Holds a service's name for one viewer: an exclusive lock on a file beside the socket, so
/// that of viewers started at the same instant exactly one serves and the others hand their
/// files to it. The lock lasts as long as the object.
class ServiceLock
{
public:
    explicit ServiceLock(const wxString& service);
    ~ServiceLock();
    ServiceLock(const ServiceLock&) = delete;
    ServiceLock& operator=(const ServiceLock&) = delete;

    /// Takes the lock unless another viewer holds it; true once this object holds it.
    bool TryTake();
    /// Whether there is a lock file at all (a full disk may deny it).
    bool IsUsable() const { return m_fd >= 0; }

private:
    int m_fd = -1;
    bool m_bHeld = false;
};

/// Answers the requests of other viewers of the user on the service's socket (see
/// cli/OpenRequest.h): reads each with the protocol's bounds, drops anything malformed, and
/// hands the file of a well-formed one to the open function from the event loop, after the
/// sender has its answer.
class ShellOpenServer : public wxEvtHandler
{
public:
    explicit ShellOpenServer(std::function<void(const wxString&)> open);
    ~ShellOpenServer() override;

    /// Listens on the socket at service, in place of a stale one; the service's lock must be
    /// held. False when it cannot.
    bool Create(const wxString& service);

private:
    void OnServerEvent(wxSocketEvent& event);
    void OnClientEvent(wxSocketEvent& event);
    void Drop(wxSocketBase* socket);

    std::function<void(const wxString&)> m_open;
    wxSocketServer* m_pSocket = nullptr;
    std::string m_strPath;
    std::map<wxSocketBase*, OpenRequestReader> m_readers;
};

enum class OfferResult
{
    NoInstance, ///< nothing answers the service
    Running,    ///< an instance answers, and there was no file to hand over or it refused it
    Delivered,  ///< the running instance took the file
};

/// Asks the instance that serves service, if any, to open path (when path is not empty).
OfferResult OfferToRunningInstance(const wxString& service, const wxString& path);
