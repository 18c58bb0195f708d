#include "shell/ShellOpenServer.h"

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/socket.h>
#include <wx/utils.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace
{
enum
{
    ID_SERVER_SOCKET = wxID_HIGHEST + 1,
    ID_CLIENT_SOCKET,
};

/// Requests being read at once; more connections are closed unread.
constexpr std::size_t kMaxConnections = 8;
/// How long a second start waits for the running viewer's answer.
constexpr long kAnswerSeconds = 10;
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

ServiceLock::ServiceLock(const wxString& service)
{
    const std::string path = std::string(service.fn_str()) + ".lock";
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
}

ServiceLock::~ServiceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool ServiceLock::TryTake()
{
    if (!m_bHeld && m_fd >= 0)
        m_bHeld = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
    return m_bHeld;
}

ShellOpenServer::ShellOpenServer(std::function<void(const wxString&)> open)
    : m_open(std::move(open))
{
    Bind(wxEVT_SOCKET, &ShellOpenServer::OnServerEvent, this, ID_SERVER_SOCKET);
    Bind(wxEVT_SOCKET, &ShellOpenServer::OnClientEvent, this, ID_CLIENT_SOCKET);
}

ShellOpenServer::~ShellOpenServer()
{
    while (!m_readers.empty())
        Drop(m_readers.begin()->first);
    if (m_pSocket)
    {
        m_pSocket->Notify(false);
        m_pSocket->Destroy();
        ::unlink(m_strPath.c_str());
    }
}

bool ShellOpenServer::Create(const wxString& service)
{
    m_strPath = std::string(service.fn_str());
    // A socket left by a viewer that did not end cleanly; the lock says that none serves now.
    struct stat info{};
    if (::lstat(m_strPath.c_str(), &info) == 0 && S_ISSOCK(info.st_mode))
        ::unlink(m_strPath.c_str());
    wxUNIXaddress address;
    address.Filename(service);
    m_pSocket = new wxSocketServer(address, wxSOCKET_NOWAIT);
    if (!m_pSocket->IsOk())
    {
        m_pSocket->Destroy();
        m_pSocket = nullptr;
        return false;
    }
    m_pSocket->SetEventHandler(*this, ID_SERVER_SOCKET);
    m_pSocket->SetNotify(wxSOCKET_CONNECTION_FLAG);
    m_pSocket->Notify(true);
    return true;
}

void ShellOpenServer::OnServerEvent(wxSocketEvent&)
{
    wxSocketBase* client = m_pSocket ? m_pSocket->Accept(false) : nullptr;
    if (!client)
        return;
    if (m_readers.size() >= kMaxConnections)
    {
        client->Destroy();
        return;
    }
    m_readers.emplace(client, OpenRequestReader());
    client->SetFlags(wxSOCKET_NOWAIT);
    client->SetEventHandler(*this, ID_CLIENT_SOCKET);
    client->SetNotify(wxSOCKET_INPUT_FLAG | wxSOCKET_LOST_FLAG);
    client->Notify(true);
}

void ShellOpenServer::OnClientEvent(wxSocketEvent& event)
{
    wxSocketBase* socket = event.GetSocket();
    const auto found = m_readers.find(socket);
    if (found == m_readers.end())
        return;
    OpenRequestReader& reader = found->second;
    std::uint8_t chunk[4096];
    while (event.GetSocketEvent() == wxSOCKET_INPUT &&
           reader.GetState() == OpenRequestReader::State::Incomplete)
    {
        socket->Read(chunk, sizeof chunk);
        const std::size_t got = socket->LastReadCount();
        if (got == 0)
            break;
        reader.Feed(std::span<const std::uint8_t>(chunk, got));
    }
    if (reader.GetState() == OpenRequestReader::State::Incomplete &&
        event.GetSocketEvent() == wxSOCKET_INPUT)
        return;
    const wxString path = reader.GetState() == OpenRequestReader::State::Complete
                              ? wxString::FromUTF8(reader.Path())
                              : wxString();
    if (!path.empty())
        socket->Write(&kOpenAccepted, 1);
    Drop(socket);
    if (path.empty())
        return;
    // Opened from the event loop, so that message boxes do not run inside the socket callback.
    auto open = m_open;
    wxTheApp->CallAfter([open, path] { open(path); });
}

void ShellOpenServer::Drop(wxSocketBase* socket)
{
    m_readers.erase(socket);
    socket->Notify(false);
    socket->Destroy();
}

OfferResult OfferToRunningInstance(const wxString& service, const wxString& path)
{
    wxUNIXaddress address;
    address.Filename(service);
    wxSocketClient client(wxSOCKET_BLOCK | wxSOCKET_WAITALL);
    client.SetTimeout(kAnswerSeconds);
    if (!client.Connect(address, true))
        return OfferResult::NoInstance;
    if (path.empty())
        return OfferResult::Running;
    const std::string frame = FrameOpenRequest(path.utf8_string());
    client.Write(frame.data(), static_cast<wxUint32>(frame.size()));
    if (client.Error() || client.LastWriteCount() != frame.size())
        return OfferResult::Running;
    std::uint8_t answer = 0;
    client.Read(&answer, 1);
    return !client.Error() && client.LastReadCount() == 1 && answer == kOpenAccepted
               ? OfferResult::Delivered
               : OfferResult::Running;
}
