// Prints how fast TextFile writes and reads a file of short lines in each
// encoding, and how many line blocks the reader reallocates.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "EzTextFile/EzTextFile.h"

int main()
{
    char tmpl[] = "/tmp/vzbench-XXXXXX";
    if (!mkdtemp(tmpl))
        return 1;
    std::string path = std::string(tmpl) + "/lines.txt";
    const int lines = 400000;
    const char* names[] = {"", "ANSI", "UTF-16LE", "UTF-16BE", "UTF-8"};
    for (int enc = TF_ANSI; enc <= TF_UTF8; enc++)
    {
        auto t0 = std::chrono::steady_clock::now();
        TextFile out;
        if (out.Open(path.c_str(), TF_WRITE, enc, 0) != 0)
            return 1;
        for (int i = 0; i < lines; i++)
            out.FormatString(nullptr, "line %d caf\xC3\xA9 some text to read back\n", i);
        out.Close();
        auto t1 = std::chrono::steady_clock::now();
        TextFile in;
        if (in.Open(path.c_str(), TF_READ, 0, 0) != 0)
            return 1;
        char* line = nullptr;
        int count = 0, capacity_changes = 0, last_capacity = 0;
        while (in.ReadLine(nullptr, &line) == 0)
        {
            count++;
            if (get_buflen(line) != last_capacity)
            {
                capacity_changes++;
                last_capacity = get_buflen(line);
            }
        }
        free_block(line);
        in.Close();
        auto t2 = std::chrono::steady_clock::now();
        double w = std::chrono::duration<double>(t1 - t0).count();
        double r = std::chrono::duration<double>(t2 - t1).count();
        printf("%-9s write %7.1f ms  read %7.1f ms  %d lines  %d block sizes\n", names[enc], w * 1000, r * 1000,
               count, capacity_changes);
    }
    unlink(path.c_str());
    rmdir(tmpl);
    return 0;
}
