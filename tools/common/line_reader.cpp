#include "line_reader.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <zlib.h>

static const size_t read_block = 256 * 1024;

LineReader::LineReader()
    : gz_(0), buffer_(read_block), pos_(0), len_(0), eof_(false), pending_cr_(false),
      number_(0), cut_(false), size_(0)
{
}

LineReader::~LineReader()
{
    if (gz_)
        gzclose((gzFile)gz_);
}

bool LineReader::open(const std::string &path)
{
    path_ = path;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        error_ = strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error_ = "is a directory";
        return false;
    }
    size_ = (long long)st.st_size;
    gzFile gz = gzopen(path.c_str(), "rb");
    if (!gz) {
        error_ = errno ? strerror(errno) : "cannot open";
        return false;
    }
    gzbuffer(gz, 128 * 1024);
    gz_ = gz;
    return true;
}

/* zlib's message without the file name it puts in front. */
static std::string zlib_message(const std::string &path, const char *message)
{
    std::string m = message ? message : "";
    if (m.compare(0, path.size() + 2, path + ": ") == 0)
        m.erase(0, path.size() + 2);
    return "damaged compressed data: " + m;
}

/* Fills the buffer; false at the end of the data or on an error. */
bool LineReader::refill()
{
    if (eof_ || !gz_)
        return false;
    int n = gzread((gzFile)gz_, buffer_.data(), (unsigned)buffer_.size());
    if (n < 0) {
        int code = 0;
        const char *message = gzerror((gzFile)gz_, &code);
        error_ = code == Z_ERRNO ? std::string(strerror(errno)) : zlib_message(path_, message);
        eof_ = true;
        return false;
    }
    if (n == 0) {
        /* zlib reports a cut .gz only once the data runs out. */
        int code = 0;
        const char *message = gzerror((gzFile)gz_, &code);
        if (code != Z_OK)
            error_ = zlib_message(path_, message);
        eof_ = true;
        return false;
    }
    pos_ = 0;
    len_ = (size_t)n;
    return true;
}

bool LineReader::next(std::string_view *out)
{
    line_.clear();
    cut_ = false;
    bool any = false;
    for (;;) {
        if (pos_ >= len_ && !refill())
            break;
        if (pending_cr_) {
            pending_cr_ = false;
            if (buffer_[pos_] == '\n') {
                pos_++;
                continue;
            }
        }
        any = true;
        const char *start = buffer_.data() + pos_;
        size_t avail = len_ - pos_;
        size_t k = 0;
        while (k < avail && start[k] != '\n' && start[k] != '\r')
            k++;
        size_t keep = k;
        if (line_.size() + keep > line_room) {
            keep = line_room - line_.size();
            cut_ = true;
        }
        line_.append(start, keep);
        pos_ += k;
        if (k < avail) {
            pending_cr_ = start[k] == '\r';
            pos_++;
            number_++;
            *out = line_;
            return true;
        }
    }
    if (failed())
        return false;
    if (any) {                          /* a last line without its line end */
        number_++;
        *out = line_;
        return true;
    }
    return false;
}

double LineReader::progress() const
{
    if (!gz_ || size_ <= 0)
        return 0;
    long long at = gzoffset((gzFile)gz_);
    if (at < 0)
        return 0;
    double f = (double)at / (double)size_;
    return f > 1 ? 1 : f;
}

std::string base_name(const std::string &path)
{
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
