/* The camera at its fastest: opens a pseudo-terminal, prints the slave's path, and answers
 * every 7-byte request at once with the request itself (a request's sum is already zero, so
 * the echo is a good reply with the category and item the tool expects). Ends when its
 * standard input closes. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

int main(void)
{
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0
        || ptsname_r(master, name, sizeof name) != 0) {
        perror("orvik-bench-responder: pty");
        return 1;
    }
    /* Kept open so the master never sees a hang-up between two users of the slave. */
    int slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        perror("orvik-bench-responder: slave");
        return 1;
    }
    struct termios t;
    tcgetattr(slave, &t);
    cfmakeraw(&t);
    tcsetattr(slave, TCSANOW, &t);
    printf("%s\n", name);
    fflush(stdout);

    unsigned char frame[7];
    int fill = 0;
    for (;;) {
        struct pollfd fds[2] = {{master, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (fds[1].revents)
            return 0;
        if (!(fds[0].revents & POLLIN)) {
            usleep(10000); /* hang-up with nothing to read: do not spin */
            continue;
        }
        unsigned char buf[256];
        ssize_t n = read(master, buf, sizeof buf);
        for (ssize_t i = 0; i < n; ++i) {
            frame[fill++] = buf[i];
            if (fill == 7) {
                fill = 0;
                if (write(master, frame, 7) != 7)
                    return 1;
            }
        }
    }
}
