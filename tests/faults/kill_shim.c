/* Preloaded into dadaz by the kill tests. Counts the calls that change the disk and kills the
 * process with SIGKILL right before call number DADAZ_KILL_AT, so a kill lands between any two
 * steps of a run, also between the write and the rename of a copy. With DADAZ_KILL_COUNT set,
 * a run that ends writes its count of such calls into that file. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

static long killAt = -1;
static long calls = 0;

static void step(void) {
    if (++calls == killAt) kill(getpid(), SIGKILL);
}

__attribute__((constructor)) static void start(void) {
    const char* at = getenv("DADAZ_KILL_AT");
    if (at) killAt = atol(at);
}

__attribute__((destructor)) static void report(void) {
    const char* path = getenv("DADAZ_KILL_COUNT");
    if (!path) return;
    int (*realOpen)(const char*, int, ...) = dlsym(RTLD_NEXT, "open");
    int fd = realOpen(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    char text[24];
    int n = sizeof text;
    text[--n] = '\n';
    long value = calls;
    do text[--n] = (char)('0' + value % 10);
    while ((value /= 10) > 0);
    ssize_t (*realWrite)(int, const void*, size_t) = dlsym(RTLD_NEXT, "write");
    if (realWrite(fd, text + n, sizeof text - (size_t)n) < 0) {
        /* nothing to do: the test sees no count */
    }
    close(fd);
}

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

/* Every wrapper counts, then hands the call on unchanged. */
#define WRAP(ret, name, params, args) \
    ret name params {                 \
        step();                       \
        return REAL(name) args;       \
    }

WRAP(int, rename, (const char* a, const char* b), (a, b))
WRAP(int, renameat, (int fa, const char* a, int fb, const char* b), (fa, a, fb, b))
WRAP(int, renameat2, (int fa, const char* a, int fb, const char* b, unsigned flags),
     (fa, a, fb, b, flags))
WRAP(int, link, (const char* a, const char* b), (a, b))
WRAP(int, linkat, (int fa, const char* a, int fb, const char* b, int flags), (fa, a, fb, b, flags))
WRAP(int, unlink, (const char* path), (path))
WRAP(int, unlinkat, (int fd, const char* path, int flags), (fd, path, flags))
WRAP(int, rmdir, (const char* path), (path))
WRAP(int, mkdir, (const char* path, mode_t mode), (path, mode))
WRAP(int, mkdirat, (int fd, const char* path, mode_t mode), (fd, path, mode))
WRAP(ssize_t, write, (int fd, const void* buffer, size_t n), (fd, buffer, n))
WRAP(int, fsync, (int fd), (fd))
WRAP(ssize_t, copy_file_range,
     (int in, off64_t* inOffset, int out, off64_t* outOffset, size_t n, unsigned flags),
     (in, inOffset, out, outOffset, n, flags))

/* Opening counts only when it may create or empty a file. */
#define WRAP_OPEN(name, params, args)                          \
    int name params {                                          \
        mode_t mode = 0;                                       \
        if (flags & (O_CREAT | __O_TMPFILE)) {                 \
            va_list rest;                                      \
            va_start(rest, flags);                             \
            mode = va_arg(rest, mode_t);                       \
            va_end(rest);                                      \
        }                                                      \
        if (flags & (O_CREAT | O_TRUNC | __O_TMPFILE)) step(); \
        return REAL(name) args;                                \
    }

WRAP_OPEN(open, (const char* path, int flags, ...), (path, flags, mode))
WRAP_OPEN(open64, (const char* path, int flags, ...), (path, flags, mode))
WRAP_OPEN(openat, (int fd, const char* path, int flags, ...), (fd, path, flags, mode))
WRAP_OPEN(openat64, (int fd, const char* path, int flags, ...), (fd, path, flags, mode))
