#include "shell/ShellOpenServer.h"

#include "ShellTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace
{

/// A client that speaks raw bytes to the socket, as anything of the user's may.
class RawClient
{
public:
    explicit RawClient(const std::string& path) : m_fd(::socket(AF_UNIX, SOCK_STREAM, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        m_connected = ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::fcntl(m_fd, F_SETFL, O_NONBLOCK);
    }
    ~RawClient() { ::close(m_fd); }

    bool Connected() const { return m_connected; }
    void Send(const std::string& bytes)
    {
        EXPECT_EQ(::write(m_fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    /// What the server answered before it closed the connection; nothing when it keeps it open.
    std::optional<std::string> AnswerAndClose()
    {
        std::string answer;
        bool closed = false;
        PumpUntil(
            [&]
            {
                char chunk[16];
                const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
                if (got > 0)
                    answer.append(chunk, static_cast<std::size_t>(got));
                closed = got == 0;
                return closed;
            },
            3000);
        return closed ? std::optional<std::string>(answer) : std::nullopt;
    }

private:
    int m_fd;
    bool m_connected = false;
};

} // namespace

TEST(ShellOpenServerTest, SocketFolderMustBeTheUsersAlone)
{
    TempDir dir;
    const std::string folder = dir.File("private");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    EXPECT_TRUE(IsPrivateFolder(folder));
    ::chmod(folder.c_str(), 0755);
    EXPECT_FALSE(IsPrivateFolder(folder));
    const std::string link = dir.File("link");
    ::chmod(folder.c_str(), 0700);
    ASSERT_EQ(::symlink(folder.c_str(), link.c_str()), 0);
    EXPECT_FALSE(IsPrivateFolder(link));
    EXPECT_FALSE(IsPrivateFolder(dir.File("missing")));
    EXPECT_FALSE(IsPrivateFolder(dir.Write("file", "x")));

    EXPECT_EQ(ShellOpenService("/run/user/1", "velquin"), "/run/user/1/velquin");
}

TEST(ShellOpenServerTest, EachDisplayHasItsOwnService)
{
    struct Case
    {
        const char* display;
        const char* service;
    };
    const Case cases[] = {
        {"", "/run/user/1/velquin"},
        {":0", "/run/user/1/velquin-:0"},
        {":0.1", "/run/user/1/velquin-:0"},
        {":12", "/run/user/1/velquin-:12"},
        {"localhost:10.0", "/run/user/1/velquin-localhost:10"},
        {"wayland-0", "/run/user/1/velquin-wayland-0"},
        {"/run/user/1/wayland-1", "/run/user/1/velquin-_run_user_1_wayland-1"},
        {"../x y", "/run/user/1/velquin-.._x_y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShellOpenService("/run/user/1", "velquin", c.display), c.service) << c.display;
}

TEST(ShellOpenServerTest, TakesWellFormedRequestsAndDropsTheRestUnread)
{
    TempDir runtime;
    const std::string service = runtime.File("velquin-:0");
    std::vector<wxString> opened;
    ShellOpenServer server([&](const wxString& path) { opened.push_back(path); });
    ASSERT_TRUE(server.Create(service));

    // Eleven bytes that claim four gigabytes: dropped at once.
    {
        RawClient client(service);
        ASSERT_TRUE(client.Connected());
        client.Send(std::string("\xFF\xFF\xFF\xFF[open(\"", 11));
        EXPECT_EQ(client.AnswerAndClose(), "");
    }
    for (const std::string& bad : {std::string("\x05\0\0\0hello", 9),
                                   FrameOpenRequest("/a.cnf") + "trailing",
                                   std::string("\x0B\0\0\0[open(\"\xFF\")]", 15)})
    {
        RawClient client(service);
        client.Send(bad);
        EXPECT_EQ(client.AnswerAndClose(), "");
    }
    // A request sent in pieces is answered once whole, and its file is opened afterwards.
    const std::string frame = FrameOpenRequest("/sets/ü/KISS.CNF");
    RawClient client(service);
    client.Send(frame.substr(0, 6));
    Pump();
    client.Send(frame.substr(6));
    EXPECT_EQ(client.AnswerAndClose(), std::string(1, static_cast<char>(kOpenAccepted)));
    EXPECT_TRUE(PumpUntil([&] { return !opened.empty(); }));
    EXPECT_EQ(opened, std::vector<wxString>{wxString::FromUTF8("/sets/ü/KISS.CNF")});
}

TEST(ShellOpenServerTest, OneViewerAtATimeHoldsTheServiceName)
{
    TempDir runtime;
    const wxString service = runtime.File("velquin-:0");
    auto first = std::make_unique<ServiceLock>(service);
    ServiceLock second(service);
    EXPECT_TRUE(first->TryTake());
    EXPECT_TRUE(first->TryTake());
    EXPECT_FALSE(second.TryTake());
    first.reset();
    EXPECT_TRUE(second.TryTake());
}
