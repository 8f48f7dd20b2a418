/* Scratch files for the data tools' tests: a fresh folder per test, removed
 * with everything in it at the end. */
#ifndef PELMORA_TESTS_TOOLS_TEST_FILES_H
#define PELMORA_TESTS_TOOLS_TEST_FILES_H

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

class ScratchFolder {
public:
    ScratchFolder()
    {
        char name[] = "/tmp/pelmora-tools-XXXXXX";
        path_ = mkdtemp(name) ? name : "";
    }
    ~ScratchFolder()
    {
        std::string command = "rm -rf '" + path_ + "'";
        if (!path_.empty() && system(command.c_str()) != 0)
            fprintf(stderr, "could not remove %s\n", path_.c_str());
    }
    const std::string &path() const { return path_; }

    /* Writes bytes (taken as they are) into name; returns its path. */
    std::string write(const std::string &name, const std::string &bytes) const
    {
        std::string file = path_ + "/" + name;
        FILE *f = fopen(file.c_str(), "wb");
        if (f) {
            fwrite(bytes.data(), 1, bytes.size(), f);
            fclose(f);
        }
        return file;
    }

    std::string read(const std::string &name) const
    {
        std::string bytes;
        FILE *f = fopen((path_ + "/" + name).c_str(), "rb");
        if (!f)
            return "(missing)";
        char block[4096];
        size_t n;
        while ((n = fread(block, 1, sizeof block, f)) > 0)
            bytes.append(block, n);
        fclose(f);
        return bytes;
    }

private:
    std::string path_;
};

#endif
