#include "shell/ShellOpenServer.h"

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr const char* kTopic = "system";
constexpr const char* kRequestStart = "[open(\"";
constexpr const char* kRequestEnd = "\")]";

class ShellOpenConnection : public wxConnection
{
public:
    explicit ShellOpenConnection(const std::function<void(const wxString&)>& open) : m_open(open)
    {
    }

    bool OnExec(const wxString& topic, const wxString& data) override
    {
        if (topic != kTopic)
            return false;
        const std::optional<wxString> path = ParseOpenRequest(data);
        if (!path)
            return false;
        // Opened from the event loop, so that message boxes do not run inside the socket
        // callback and the sender is not kept waiting.
        auto open = m_open;
        wxTheApp->CallAfter([open, file = *path] { open(file); });
        return true;
    }

private:
    std::function<void(const wxString&)> m_open;
};
} // namespace

bool IsPrivateFolder(const std::string& path)
{
    struct stat info{};
    if (path.empty() || ::lstat(path.c_str(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

std::optional<std::string> PrivateSocketFolder()
{
    wxString runtime;
    if (wxGetEnv("XDG_RUNTIME_DIR", &runtime) && wxFileName(runtime).IsAbsolute())
    {
        const std::string folder(runtime.fn_str());
        if (IsPrivateFolder(folder))
            return folder;
    }
    const std::string folder =
        std::string(wxFileName::GetTempDir().fn_str()) + "/velquin-" + std::to_string(::getuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;
    // Someone else may have made it first: use it only if it is ours and closed to others.
    if (!IsPrivateFolder(folder))
        return std::nullopt;
    return folder;
}

wxString CurrentDisplay()
{
    wxString display;
    if (wxGetEnv("WAYLAND_DISPLAY", &display) && !display.empty())
        return display;
    if (wxGetEnv("DISPLAY", &display))
        return display;
    return wxString();
}

wxString ShellOpenService(const std::string& folder, const wxString& executableName,
                          const wxString& display)
{
    wxString service = wxString(folder.c_str(), wxConvFile) + "/" + executableName;
    if (display.empty())
        return service;
    // An X display "host:number.screen" without its screen; a Wayland display may be a path.
    wxString name = display;
    const size_t colon = name.rfind(':');
    if (!name.StartsWith("/") && colon != wxString::npos)
    {
        const size_t dot = name.find('.', colon);
        if (dot != wxString::npos)
            name.Truncate(dot);
    }
    // Only characters that are safe in a file name stay; the rest become "_".
    for (auto it = name.begin(); it != name.end(); ++it)
    {
        const wxUniChar c = *it;
        const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_' || c == ':';
        if (!safe)
            *it = '_';
    }
    return service + "-" + name;
}

std::optional<wxString> ParseOpenRequest(const wxString& request)
{
    const wxString start(kRequestStart);
    const wxString end(kRequestEnd);
    if (request.length() <= start.length() + end.length() || !request.StartsWith(start) ||
        !request.EndsWith(end))
        return std::nullopt;
    const wxString path = request.Mid(start.length(), request.length() - start.length() -
                                                          end.length());
    if (path.find('"') != wxString::npos || path.find('\0') != wxString::npos)
        return std::nullopt;
    return path;
}

wxString MakeOpenRequest(const wxString& path)
{
    return wxString(kRequestStart) + path + kRequestEnd;
}

ShellOpenServer::ShellOpenServer(std::function<void(const wxString&)> open)
    : m_open(std::move(open))
{
}

wxConnectionBase* ShellOpenServer::OnAcceptConnection(const wxString& topic)
{
    if (topic != kTopic)
        return nullptr;
    return new ShellOpenConnection(m_open);
}

OfferResult OfferToRunningInstance(const wxString& service, const wxString& path)
{
    wxLogNull quiet; // no instance is the usual case, not an error
    wxClient client;
    std::unique_ptr<wxConnectionBase> connection(
        client.MakeConnection("localhost", service, kTopic));
    if (!connection)
        return OfferResult::NoInstance;
    const bool delivered = !path.empty() && connection->Execute(MakeOpenRequest(path));
    connection->Disconnect();
    return delivered ? OfferResult::Delivered : OfferResult::Running;
}
