/* The native peer for clearing many small files: one thread overwrites each file below a folder
 * with the same bytes the clearing writes (whole 1 KiB blocks of 0x01, one block past the length
 * rounded down), flushes it to the device and removes it. Usage: native_loop FOLDER */
#define _XOPEN_SOURCE 700
#include <fcntl.h>
#include <ftw.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static unsigned char block[1 << 20];
static long cleared;

static int clearOne(const char* path, const struct stat* info, int type, struct FTW* where) {
    (void)where;
    if (type != FTW_F) return 0;
    int fd = open(path, O_WRONLY);
    if (fd < 0) return 0;
    off_t total = (info->st_size / 1024 + 1) * 1024;
    for (off_t at = 0; at < total;) {
        size_t chunk = (size_t)(total - at) < sizeof block ? (size_t)(total - at) : sizeof block;
        ssize_t wrote = pwrite(fd, block, chunk, at);
        if (wrote <= 0) break;
        at += wrote;
    }
    fdatasync(fd);
    close(fd);
    if (unlink(path) == 0) ++cleared;
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: native_loop FOLDER\n");
        return 2;
    }
    memset(block, 1, sizeof block);
    if (nftw(argv[1], clearOne, 16, FTW_PHYS) != 0) return 1;
    printf("cleared %ld files\n", cleared);
    return 0;
}
