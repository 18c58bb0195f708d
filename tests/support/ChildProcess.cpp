#include "ChildProcess.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

int RunInChild(const std::function<int(std::ostream& out)>& body, std::string* output)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0)
    {
        close(fds[0]);
        std::ostringstream out;
        const int status = body(out);
        const std::string text = out.str();
        if (write(fds[1], text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            _exit(98);
        // Straight out: the parent's exit handlers and buffers are not the child's to run.
        _exit(status);
    }
    close(fds[1]);
    std::string text;
    char chunk[256];
    for (ssize_t got; (got = read(fds[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, static_cast<std::size_t>(got));
    close(fds[0]);
    int wait = 0;
    if (waitpid(child, &wait, 0) != child || !WIFEXITED(wait))
        return -1;
    if (output)
        *output = std::move(text);
    return WEXITSTATUS(wait);
}

bool LimitFileSize(unsigned long bytes)
{
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}
