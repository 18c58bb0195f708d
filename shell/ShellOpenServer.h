#pragma once

#include <wx/ipc.h>
#include <wx/string.h>

#include <functional>
#include <optional>
#include <string>

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

/// The path of an execute request of the exact form [open("PATH")]; nothing for anything else.
std::optional<wxString> ParseOpenRequest(const wxString& request);

/// The request that asks a running instance to open path.
wxString MakeOpenRequest(const wxString& path);

/// Answers conversations on the topic "system" and hands the file of each well-formed open
/// request to the open function, after the request has been answered.
class ShellOpenServer : public wxServer
{
public:
    explicit ShellOpenServer(std::function<void(const wxString&)> open);
    wxConnectionBase* OnAcceptConnection(const wxString& topic) override;

private:
    std::function<void(const wxString&)> m_open;
};

enum class OfferResult
{
    NoInstance, ///< nothing answers the service
    Running,    ///< an instance answers, and there was no file to hand over
    Delivered,  ///< the running instance was asked to open the file
};

/// Asks the instance that serves service, if any, to open path (when path is not empty).
OfferResult OfferToRunningInstance(const wxString& service, const wxString& path);
