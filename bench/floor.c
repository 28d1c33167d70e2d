/* The floor: N request/reply round trips of 7 bytes each way over the responder's pty, both
 * ends raw, with plain blocking reads. Prints the wall time and the CPU time per round trip
 * in milliseconds. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

static double now(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

static double cpu(void)
{
    struct rusage u;
    getrusage(RUSAGE_SELF, &u);
    return (double)(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
        + (double)(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: orvik-bench-floor SLAVE-PATH ROUND-TRIPS\n");
        return 2;
    }
    const long count = atol(argv[2]);
    int fd = open(argv[1], O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        perror(argv[1]);
        return 1;
    }
    struct termios t;
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &t);
    tcflush(fd, TCIOFLUSH);

    /* The communication-settings read to camera 0, checksum included. */
    const unsigned char request[7] = {0x89, 0x11, 0, 0, 0, 0, (unsigned char)(0x100 - 0x89 - 0x11)};
    const double t0 = now(), c0 = cpu();
    for (long i = 0; i < count; ++i) {
        if (write(fd, request, 7) != 7)
            return 1;
        unsigned char reply[7];
        int got = 0;
        while (got < 7) {
            ssize_t n = read(fd, reply + got, (size_t)(7 - got));
            if (n <= 0)
                return 1;
            got += (int)n;
        }
    }
    const double wall = now() - t0, used = cpu() - c0;
    printf("%.6f %.6f\n", wall * 1e3 / (double)count, used * 1e3 / (double)count);
    close(fd);
    return 0;
}
