/* Starts a program and reports, in milliseconds, how long until a window of it shows the
 * marker colour (255, 0, 255) on the column through the window's middle; then ends it.
 * usage: probe TIMEOUT_MS PROGRAM [ARGUMENTS...] */
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int ignore_errors(Display *display, XErrorEvent *event)
{
    (void)display;
    (void)event;
    return 0;
}

/* Whether a mapped top-level window shows the marker on its middle column. */
static int shows_marker(Display *display, Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) ||
        attributes.map_state != IsViewable || attributes.class != InputOutput ||
        attributes.width < 100 || attributes.height < 100)
        return 0;
    XImage *column = XGetImage(display, window, attributes.width / 2, 0, 1,
                               (unsigned)attributes.height, AllPlanes, ZPixmap);
    if (column == NULL)
        return 0;
    int found = 0;
    for (int y = 0; y < attributes.height && !found; ++y)
        found = (XGetPixel(column, 0, y) & 0xFFFFFF) == 0xFF00FF;
    XDestroyImage(column);
    return found;
}

int main(int argc, char **argv)
{
    if (argc < 3)
    {
        fprintf(stderr, "usage: probe TIMEOUT_MS PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const double timeout = atof(argv[1]);
    /* The server refuses a connection now and then while the last program's connection closes; retry. */
    Display *display = NULL;
    for (int attempt = 0; attempt < 50 && display == NULL; ++attempt)
    {
        display = XOpenDisplay(NULL);
        if (display == NULL)
            usleep(20000);
    }
    if (display == NULL)
    {
        fprintf(stderr, "probe: no display\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    const Window root = DefaultRootWindow(display);

    const double start = now_ms();
    const pid_t child = fork();
    if (child == 0)
    {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double shown = -1;
    while (shown < 0 && now_ms() - start < timeout)
    {
        Window parent;
        Window unused;
        Window *children = NULL;
        unsigned count = 0;
        if (XQueryTree(display, root, &unused, &parent, &children, &count))
        {
            for (unsigned i = 0; i < count && shown < 0; ++i)
                if (shows_marker(display, children[i]))
                    shown = now_ms() - start;
            XFree(children);
        }
        if (shown < 0)
        {
            int status;
            if (waitpid(child, &status, WNOHANG) == child)
                break;
            usleep(1000);
        }
    }
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    XCloseDisplay(display);
    if (shown < 0)
    {
        fprintf(stderr, "probe: %s showed no marker\n", argv[2]);
        return 1;
    }
    printf("%.1f\n", shown);
    return 0;
}
