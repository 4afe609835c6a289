// The floor for the benchmark: the least any tool must do to split a listing
// into files. It reads the listing once, then writes the given number of
// files holding the given total of bytes, each through one working file that
// is created, written, closed and renamed without replacing, as norvex does;
// and nothing else.
// Usage: norvex_floor LISTING FILES BYTES (run in an empty folder).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: norvex_floor LISTING FILES BYTES\n");
        return 2;
    }
    unsigned long long files = std::strtoull(argv[2], nullptr, 10);
    unsigned long long bytes = std::strtoull(argv[3], nullptr, 10);
    int in = open(argv[1], O_RDONLY);
    struct stat info {};
    if (in < 0 || fstat(in, &info) != 0 || files == 0) return 1;
    std::vector<char> text(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t size = 0;
    for (ssize_t got; (got = read(in, text.data() + size,
                                  std::min<std::size_t>(1 << 23, text.size() - size))) > 0;) {
        size += static_cast<std::size_t>(got);
    }
    close(in);
    if (size == 0) return 1;

    unsigned long long share = bytes / files;
    std::size_t offset = 0;
    for (unsigned long long i = 0; i < files; ++i) {
        unsigned long long left = i + 1 == files ? bytes - share * i : share;
        int fd = open("temp.csv", O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd < 0) return 1;
        while (left > 0) {
            std::size_t piece =
                static_cast<std::size_t>(std::min<unsigned long long>(left, 1 << 18));
            piece = std::min(piece, size - offset);
            // A regular file takes the whole piece, or the floor has failed.
            if (write(fd, text.data() + offset, piece) != static_cast<ssize_t>(piece)) return 1;
            offset = offset + piece == size ? 0 : offset + piece;
            left -= piece;
        }
        if (close(fd) != 0) return 1;
        char name[32];
        std::snprintf(name, sizeof name, "f%llu.csv", i);
        if (renameat2(AT_FDCWD, "temp.csv", AT_FDCWD, name, RENAME_NOREPLACE) != 0) return 1;
    }
    return 0;
}
