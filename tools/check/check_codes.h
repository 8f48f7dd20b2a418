/*
 * The codes of a runway file met so far, for the checker's repeated-code
 * finding, in bounded memory: each code is kept as a 64-bit hash of its
 * upper-case form (the exact test ignores letter case) with the line it was
 * last on, 12 bytes a code, in an open-addressed table that doubles as it
 * fills, up to most_codes codes (about 12 MB).  Past that, codes not yet in
 * the table are no longer added.  Two different codes with the same hash
 * would read as a repeat; with a 64-bit hash and a million codes the odds
 * are about one in thirty million.
 */
#ifndef PELMORA_TOOLS_CHECK_CODES_H
#define PELMORA_TOOLS_CHECK_CODES_H

#include <stdint.h>

#include <vector>

class CodeTable {
public:
    static const size_t most_slots = (size_t)1 << 20;
    static const size_t most_codes = most_slots / 4 * 3;

    enum class Result { added, repeated, full };

    /* Notes that code is on line; a repeat gives the line it was last on. */
    Result note(const char *code, long line, long *previous)
    {
        uint64_t h = hash(code);
        if (slots_.empty())
            resize(first_slots);
        size_t i = find(h);
        if (slots_[i] == h) {
            *previous = (long)lines_[i];
            lines_[i] = stored_line(line);
            return Result::repeated;
        }
        if (used_ + 1 > slots_.size() / 4 * 3) {
            if (slots_.size() >= most_slots)
                return Result::full;
            resize(slots_.size() * 2);
            i = find(h);
        }
        slots_[i] = h;
        lines_[i] = stored_line(line);
        used_++;
        return Result::added;
    }

private:
    static const size_t first_slots = 4096;

    static uint32_t stored_line(long line)
    {
        /* (as long long: a long is 32 bits on Windows) */
        return (long long)line > (long long)UINT32_MAX ? UINT32_MAX : (uint32_t)line;
    }

    /* FNV-1a over the code in upper case; 0 marks an empty slot. */
    static uint64_t hash(const char *code)
    {
        uint64_t h = 14695981039346656037ULL;
        for (const char *p = code; *p; p++) {
            char c = *p >= 'a' && *p <= 'z' ? (char)(*p - 'a' + 'A') : *p;
            h = (h ^ (unsigned char)c) * 1099511628211ULL;
        }
        return h ? h : 1;
    }

    /* The slot holding h, or the empty slot where it would go. */
    size_t find(uint64_t h) const
    {
        size_t mask = slots_.size() - 1;
        size_t i = (size_t)(h ^ (h >> 29)) & mask;
        while (slots_[i] != 0 && slots_[i] != h)
            i = (i + 1) & mask;
        return i;
    }

    void resize(size_t count)
    {
        std::vector<uint64_t> old_slots(count, 0);
        std::vector<uint32_t> old_lines(count, 0);
        old_slots.swap(slots_);
        old_lines.swap(lines_);
        for (size_t j = 0; j < old_slots.size(); j++)
            if (old_slots[j]) {
                size_t i = find(old_slots[j]);
                slots_[i] = old_slots[j];
                lines_[i] = old_lines[j];
            }
    }

    std::vector<uint64_t> slots_;
    std::vector<uint32_t> lines_;
    size_t used_ = 0;
};

#endif
