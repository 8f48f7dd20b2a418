#include "script_parser.h"

#include <stdio.h>

#include "paths.h"

namespace {

/* Splits a line into words; "quoted text" is one word. */
bool split_words(const std::string &line, std::vector<std::string> &words)
{
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            i++;
        if (i >= line.size())
            break;
        std::string w;
        if (line[i] == '"') {
            for (i++; i < line.size() && line[i] != '"'; i++) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    char e = line[++i];
                    w += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == 'z' ? '\x1a' : e;
                } else {
                    w += line[i];
                }
            }
            if (i >= line.size())
                return false;
            i++;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                w += line[i++];
        }
        words.push_back(w);
    }
    return true;
}

} // namespace

bool parse_script(const char *path, const CommandTable &known, std::vector<Step> &steps,
                  std::string &error)
{
    const std::string script_name = path;
    FILE *f = fopen(windows_path(path).c_str(), "rb");
    if (!f) {
        error = std::string("cannot open script ") + path;
        return false;
    }
    char buffer[4096];
    int line = 0;
    while (fgets(buffer, sizeof buffer, f)) {
        line++;
        std::string text = buffer;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        Step s;
        s.line = line;
        if (!split_words(text, s.words)) {
            error = script_name + ":" + std::to_string(line) + ": unterminated quote";
            fclose(f);
            return false;
        }
        if (s.words.empty() || s.words[0][0] == '#')
            continue;
        if (!known.count(s.words[0])) {
            error = script_name + ":" + std::to_string(line) + ": unknown command " + s.words[0];
            fclose(f);
            return false;
        }
        steps.push_back(s);
    }
    fclose(f);
    return true;
}
