#include "baselineio.h"

#include "platedocument.h"

#include <cstdio>
#include <fstream>

#include <fcntl.h>
#include <unistd.h>

namespace Tessar {

std::vector<std::string> readLinesPlain(const std::string &path)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return lines;
    in.seekg(0, std::ios::end);
    std::string data(std::size_t(in.tellg()), '\0');
    in.seekg(0);
    if (!in.read(data.data(), std::streamsize(data.size())))
        return lines;
    std::size_t from = 0;
    while (from < data.size()) {
        std::size_t end = data.find("\r\n", from);
        if (end == std::string::npos)
            end = data.size();
        lines.emplace_back(data, from, end - from);
        from = end + 2;
    }
    return lines;
}

std::vector<std::vector<std::string>> readTablePlain(const std::string &path)
{
    std::vector<std::vector<std::string>> rows;
    for (const std::string &line : readLinesPlain(path)) {
        std::vector<std::string> cells;
        std::size_t from = 0;
        for (;;) {
            const std::size_t comma = line.find(',', from);
            cells.emplace_back(line, from, comma == std::string::npos ? std::string::npos : comma - from);
            if (comma == std::string::npos)
                break;
            from = comma + 1;
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

bool writeLinesPlain(const std::string &path, const PlateDocument &doc)
{
    std::vector<std::string> lines = doc.headerLines;
    for (std::size_t i = 0; i < doc.samples.size(); ++i) {
        lines.push_back(std::to_string(i + 1));
        for (const std::string &field : doc.samples[i])
            lines.push_back('"' + field + '"');
    }
    lines.push_back("-1");

    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        for (const std::string &line : lines)
            out << line << "\r\n";
        out.close();
        if (!out)
            return false;
    }
    const int fd = ::open(temp.c_str(), O_WRONLY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced && std::rename(temp.c_str(), path.c_str()) == 0;
}

} // namespace Tessar
