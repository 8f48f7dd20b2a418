/*
 * The converter on a whole simulator scenery (gen_scenery's tree): its time
 * and peak memory beside three floors, each run as a process of its own and
 * timed the same way:
 *   - needed bytes: every file of the active areas opened and exactly the
 *     byte ranges the BGL reader needs read (header, section pointers, the
 *     tables and records of the sections of airports, VORs and landing
 *     systems, NDBs and names), nothing decoded;
 *   - reader: the converter's own BGL reader on those files, records decoded
 *     and dropped (no layers, no output); its bytes_read is checked against
 *     the needed bytes;
 *   - cat: every file of the tree, to /dev/null.
 * The tree is read once by cat first, not counted, so that every counted run
 * reads from the page cache (warm).  With --cold, each of the converter,
 * the needed bytes and cat then runs once more after the tree's pages have
 * been dropped from the page cache (only this tree's, by posix_fadvise), so
 * that it reads from the disk: a figure of this machine's disk.  It prints
 * figures; it asserts nothing.
 *
 *   scenery_bench CONVERTER SIMDIR WORK_DIR [RUNS] [--cold]   (RUNS: default 3)
 */
#include <errno.h>
#include <fcntl.h>
#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../timing.h"

#include "sources/bgl/bgl.h"
#include "sources/bgl/bgl_layout.h"

namespace {

/* Runs argv with its output and messages in the given files, or (argv
 * empty) work() in a child process; the child's wall and CPU time and peak
 * memory. */
bool run_child(const std::vector<std::string> &args, const std::string &out,
               const std::string &err, Timing *timing, int (*work)(void *) = 0, void *data = 0)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    fflush(stdout);
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (!freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr))
            _exit(126);
        if (work) {
            int status = work(data);
            fflush(stdout);
            _exit(status);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status;
    struct rusage usage;
    if (wait4(child, &status, 0, &usage) < 0)
        return false;
    timing->wall = seconds_since(start);
    timing->cpu = (double)usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
                  (double)usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    timing->peak_mb = usage.ru_maxrss / 1024.0;
    timing->exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

std::string read_text(const std::string &path)
{
    std::string text;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return text;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0)
        text.append(chunk, n);
    fclose(f);
    return text;
}

/* ---- The floors ---- */

struct Files {
    std::vector<std::string> paths;
};

bool pread_all(int fd, unsigned long long offset, size_t n, std::vector<unsigned char> *buffer)
{
    buffer->resize(n);
    size_t done = 0;
    while (done < n) {
        ssize_t got = pread(fd, buffer->data() + done, n - done, (off_t)(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += (size_t)got;
    }
    return true;
}

/* The bytes the reader needs of one file, read: its header, its section
 * pointers, and of the sections it reads their tables and records (markers
 * are counted from their tables alone).  Bounds are checked so that a file
 * of any shape ends the walk, not the program; the generated files are all
 * well formed. */
unsigned long long read_needed(const std::string &path, std::vector<unsigned char> *buffer)
{
    using namespace bgl;
    int fd = open(path.c_str(), O_RDONLY);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) {
        if (fd >= 0)
            close(fd);
        return 0;
    }
    unsigned long long size = (unsigned long long)st.st_size, read = 0;
    size_t head = size < header_size ? (size_t)size : (size_t)header_size;
    if (size < 4 || !pread_all(fd, 0, head, buffer)) {
        close(fd);
        return 0;
    }
    read += head;
    if (size < header_size || get32(buffer->data()) != file_magic) {
        close(fd);
        return read;
    }
    unsigned long long count = get32(buffer->data() + header_section_count);
    unsigned long long fits = (size - header_size) / section_pointer_size;
    count = std::min(std::min(count, fits), 4096ull);
    std::vector<unsigned char> pointers;
    if (!pread_all(fd, header_size, (size_t)(count * section_pointer_size), &pointers)) {
        close(fd);
        return read;
    }
    read += count * section_pointer_size;
    std::vector<unsigned char> table;
    for (unsigned long long s = 0; s < count; s++) {
        const unsigned char *p = pointers.data() + s * section_pointer_size;
        uint32_t type = get32(p + section_type);
        if (type != section_airports && type != section_vor_ils && type != section_ndbs &&
            type != section_markers && type != section_name_list)
            continue;
        unsigned entry = subsection_entry_size(get32(p + section_flags));
        unsigned long long at = get32(p + section_table_offset);
        unsigned long long n = get32(p + section_subsection_count) * (unsigned long long)entry;
        if (at >= size || n > size - at || !pread_all(fd, at, (size_t)n, &table))
            continue;
        read += n;
        for (unsigned long long e = 0; e + entry <= n; e += entry) {
            unsigned long long start = get32(table.data() + e + subsection_records_offset);
            unsigned long long bytes = get32(table.data() + e + subsection_records_size);
            if (type == section_markers || start >= size || bytes > size - start)
                continue;
            if (pread_all(fd, start, (size_t)bytes, buffer))
                read += bytes;
        }
    }
    close(fd);
    return read;
}

int needed_child(void *data)
{
    const Files *files = (const Files *)data;
    std::vector<unsigned char> buffer;
    unsigned long long total = 0;
    for (const std::string &path : files->paths)
        total += read_needed(path, &buffer);
    printf("%llu\n", total);
    return 0;
}

int reader_child(void *data)
{
    const Files *files = (const Files *)data;
    unsigned long long total = 0;
    long airports = 0, vor_ils = 0, ndbs = 0, sectioned = 0, older = 0, problems = 0;
    for (const std::string &path : files->paths) {
        BglFile file;
        read_bgl_file(path, &file);
        total += file.bytes_read;
        airports += (long)file.airports.size();
        vor_ils += (long)file.vor_ils.size();
        ndbs += (long)file.ndbs.size();
        sectioned += file.kind == BglKind::sectioned;
        older += file.kind == BglKind::older_format;
        problems += (long)file.problems.size();
    }
    printf("%llu %ld %ld %ld %ld %ld %ld\n", total, airports, vor_ils, ndbs, sectioned, older,
           problems);
    return 0;
}

/* ---- The tree ---- */

std::vector<std::string> *tree_files;
unsigned long long tree_bytes;

int list_file(const char *path, const struct stat *st, int kind, struct FTW *)
{
    if (kind == FTW_F && S_ISREG(st->st_mode)) {
        tree_files->push_back(path);
        tree_bytes += (unsigned long long)st->st_size;
    }
    return 0;
}

/* Drops the files' pages from the page cache; the share still resident
 * after it (0 when every page has gone). */
double drop_from_cache(const std::vector<std::string> &paths)
{
    unsigned long long pages = 0, resident = 0;
    long page = sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> map;
    for (const std::string &path : paths) {
        int fd = open(path.c_str(), O_RDONLY);
        if (fd < 0)
            continue;
        fdatasync(fd);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        struct stat st;
        if (fstat(fd, &st) == 0 && st.st_size > 0) {
            void *m = mmap(0, (size_t)st.st_size, PROT_READ, MAP_SHARED, fd, 0);
            if (m != MAP_FAILED) {
                size_t n = ((size_t)st.st_size + (size_t)page - 1) / (size_t)page;
                map.resize(n);
                if (mincore(m, (size_t)st.st_size, map.data()) == 0)
                    for (unsigned char c : map)
                        resident += c & 1;
                pages += n;
                munmap(m, (size_t)st.st_size);
            }
        }
        close(fd);
    }
    return pages ? (double)resident / (double)pages : 0;
}

void print_timing(const char *label, const Timing &t)
{
    printf("  %-34s %7.2f s wall, %6.2f s CPU, peak memory %7.1f MB\n", label, t.wall, t.cpu,
           t.peak_mb);
}

}  // namespace

int main(int argc, char **argv)
{
    bool cold = false;
    std::vector<std::string> args;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--cold"))
            cold = true;
        else
            args.push_back(argv[i]);
    }
    if (args.size() != 3 && args.size() != 4) {
        fprintf(stderr, "usage: scenery_bench CONVERTER SIMDIR WORK_DIR [RUNS] [--cold]\n");
        return 2;
    }
    const std::string converter = args[0], sim = args[1], work = args[2];
    int runs = args.size() == 4 ? atoi(args[3].c_str()) : 3;
    if (runs < 1 || runs > 50) {
        fprintf(stderr, "scenery_bench: RUNS from 1 to 50\n");
        return 2;
    }
    mkdir(work.c_str(), 0755);
    const std::string out = work + "/out";
    mkdir(out.c_str(), 0755);

    std::string generated = read_text(sim + "/generated.txt");
    if (generated.empty()) {
        fprintf(stderr, "scenery_bench: %s/generated.txt is missing: no whole tree there\n",
                sim.c_str());
        return 1;
    }
    Files list;
    {
        std::string text = read_text(sim + "/read-list.txt");
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            if (end > start)
                list.paths.push_back(sim + "/" + text.substr(start, end - start));
            start = end + 1;
        }
    }
    unsigned long long list_bytes = 0;
    for (const std::string &path : list.paths) {
        struct stat st;
        if (stat(path.c_str(), &st) == 0)
            list_bytes += (unsigned long long)st.st_size;
    }
    std::vector<std::string> all;
    tree_files = &all;
    nftw(sim.c_str(), list_file, 32, FTW_PHYS);
    std::sort(all.begin(), all.end());
    printf("%s", generated.c_str());
    printf("tree: %zu files, %.1f MB; the active areas' BGL files (the converter's): %zu, "
           "%.1f MB\n",
           all.size(), tree_bytes / 1e6, list.paths.size(), list_bytes / 1e6);

    std::vector<std::string> cat{"cat"};
    cat.insert(cat.end(), all.begin(), all.end());
    std::vector<std::string> convert{converter, "--scenery", sim, "-o", out};
    Timing t;
    if (!run_child(cat, "/dev/null", "/dev/null", &t) || t.exit != 0) {
        fprintf(stderr, "scenery_bench: cat of the tree failed\n");
        return 1;
    }
    printf("page cache: the tree read once by cat first (%.2f s, not counted); every run below "
           "is warm, its bytes from memory\n", t.wall);

    std::vector<Timing> converted, reader, needed, catted;
    for (int i = 0; i < runs; i++) {
        Timing c, r, n, k;
        if (!run_child(convert, out + "/output.txt", out + "/messages.txt", &c) || c.exit < 0 ||
            c.exit > 1 || !run_child({}, work + "/reader.txt", "/dev/null", &r, reader_child, &list) ||
            !run_child({}, work + "/needed.txt", "/dev/null", &n, needed_child, &list) ||
            !run_child(cat, "/dev/null", "/dev/null", &k) || r.exit || n.exit || k.exit) {
            fprintf(stderr, "scenery_bench: a run failed (converter exit %d; see %s/messages.txt)\n",
                    c.exit, out.c_str());
            return 1;
        }
        converted.push_back(c);
        reader.push_back(r);
        needed.push_back(n);
        catted.push_back(k);
    }
    unsigned long long needed_bytes = strtoull(read_text(work + "/needed.txt").c_str(), 0, 10);
    unsigned long long reader_bytes = 0;
    long airports = 0, vor_ils = 0, ndbs = 0, sectioned = 0, older = 0, problems = 0;
    sscanf(read_text(work + "/reader.txt").c_str(), "%llu %ld %ld %ld %ld %ld %ld", &reader_bytes,
           &airports, &vor_ils, &ndbs, &sectioned, &older, &problems);
    Timing c = median(converted), r = median(reader), n = median(needed), k = median(catted);
    printf("needed bytes: %.2f MB of %.1f MB (%.2f %%); the reader's own count %.2f MB (%s)\n",
           needed_bytes / 1e6, list_bytes / 1e6, 100.0 * needed_bytes / (double)list_bytes,
           reader_bytes / 1e6, reader_bytes == needed_bytes ? "the same" : "differs");
    printf("reader: %ld sectioned files, %ld older format, %ld problems; %ld airport, %ld VOR/ILS, "
           "%ld NDB records\n",
           sectioned, older, problems, airports, vor_ils, ndbs);
    printf("warm, medians of %d runs:\n", runs);
    print_timing("converter --scenery (whole run)", c);
    print_timing("BGL reader alone (no layers, output)", r);
    print_timing("needed bytes read (open + pread)", n);
    print_timing("cat of the whole tree", k);
    printf("  converter / needed bytes: %.1fx wall; converter / cat: %.2fx wall; reader / needed "
           "bytes: %.1fx wall\n",
           c.wall / n.wall, c.wall / k.wall, r.wall / n.wall);
    printf("  converter exit %d; its summary (the areas' lines, one per area read, left out):\n",
           c.exit);
    /* The summary closes its messages, from the library's line on. */
    std::string summary = read_text(out + "/messages.txt");
    size_t from = summary.find("\nscenery library ");
    for (size_t start = from == std::string::npos ? summary.size() : from + 1;
         start < summary.size();) {
        size_t end = summary.find('\n', start);
        if (end == std::string::npos)
            end = summary.size();
        std::string line = summary.substr(start, end - start);
        if (line.compare(0, 8, "  layer ") != 0)
            printf("    %s\n", line.c_str());
        start = end + 1;
    }

    if (cold) {
        printf("cold: each run once more after the tree's pages were dropped from the page cache, "
               "its bytes from the disk (this machine's disk; another disk gives other figures):\n");
        static const char *const labels[] = {"converter --scenery (whole run)",
                                             "needed bytes read (open + pread)",
                                             "cat of the whole tree"};
        for (int which = 0; which < 3; which++) {
            double left = drop_from_cache(all);
            bool ok = which == 0 ? run_child(convert, out + "/output.txt", out + "/messages.txt", &t)
                      : which == 1 ? run_child({}, work + "/needed.txt", "/dev/null", &t,
                                               needed_child, &list)
                                   : run_child(cat, "/dev/null", "/dev/null", &t);
            if (!ok) {
                fprintf(stderr, "scenery_bench: a cold run failed\n");
                return 1;
            }
            print_timing(labels[which], t);
            printf("  %-34s (%.1f %% of the tree's pages still cached at its start)\n", "",
                   100 * left);
        }
    }
    return 0;
}
