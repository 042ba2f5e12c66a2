// Board pictures <-> level files, and board dumps.
#include "match3/m3boardtext.h"

#include <cctype>
#include <sstream>

#include "app/platform/core/files.h"
#include "match3/m3level.h"

namespace match3 {

namespace {

bool ReadNumber(const std::string& s, size_t& i, int& out)
{
    const size_t start = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    if (i == start || i - start > 6)
        return false;
    out = std::stoi(s.substr(start, i - start));
    return true;
}

} // namespace

bool ParseCellToken(const std::string& token, TM3CellToken& out, std::string* error)
{
    out = TM3CellToken{};
    auto fail = [&](const std::string& why) {
        if (error)
            *error = "cell \"" + token + "\": " + why;
        return false;
    };
    if (token.empty())
        return fail("empty");
    if (token == "#") {
        out.hole = true;
        return true;
    }
    size_t i = 0;
    if (token[0] == '.') {
        i = 1;
    } else if (!ReadNumber(token, i, out.chip)) {
        return fail("expected '#', '.' or a chip kind");
    }
    while (i < token.size()) {
        const char mark = token[i++];
        switch (mark) {
        case '^': out.creator = true; break;
        case '!': out.locked = true; break;
        case '$': {
            int coins = 0;
            if (!ReadNumber(token, i, coins))
                return fail("'$' needs a number of coins");
            out.floor = coins + 1;
            break;
        }
        case '+':
            if (!ReadNumber(token, i, out.overlay))
                return fail("'+' needs a cell kind");
            break;
        case '@': {
            do {
                int id = 0;
                if (!ReadNumber(token, i, id))
                    return fail("'@' needs obstacle kinds joined by '|'");
                out.obstacles.push_back(id);
            } while (i < token.size() && token[i] == '|' && ++i);
            break;
        }
        default: return fail(std::string("unknown mark '") + mark + "'");
        }
    }
    return true;
}

std::string FormatCellToken(const TM3CellToken& cell)
{
    if (cell.hole)
        return "#";
    std::string s = cell.chip ? std::to_string(cell.chip) : ".";
    if (cell.creator)
        s += '^';
    if (cell.locked)
        s += '!';
    if (cell.floor != 1)
        s += '$' + std::to_string(cell.floor - 1);
    if (cell.overlay)
        s += '+' + std::to_string(cell.overlay);
    if (!cell.obstacles.empty()) {
        s += '@';
        for (size_t k = 0; k < cell.obstacles.size(); ++k)
            s += (k ? "|" : "") + std::to_string(cell.obstacles[k]);
    }
    return s;
}

bool LevelTextFromPicture(const std::string& picture, const std::string& chips, int seconds, std::string& out,
                          std::string* error)
{
    std::vector<std::vector<TM3CellToken>> grid;
    std::istringstream lines(picture);
    int lineNo = 0;
    for (std::string line; std::getline(lines, line);) {
        ++lineNo;
        std::istringstream toks(line);
        std::vector<TM3CellToken> row;
        for (std::string tok; toks >> tok;) {
            TM3CellToken cell;
            std::string why;
            if (!ParseCellToken(tok, cell, &why)) {
                if (error)
                    *error = "picture line " + std::to_string(lineNo) + ", column " + std::to_string(row.size()) +
                             ": " + why;
                return false;
            }
            row.push_back(cell);
        }
        if (row.empty())
            continue;
        if (!grid.empty() && row.size() != grid[0].size()) {
            if (error)
                *error = "picture line " + std::to_string(lineNo) + " has " + std::to_string(row.size()) +
                         " cells, the first row " + std::to_string(grid[0].size());
            return false;
        }
        grid.push_back(std::move(row));
    }
    if (grid.empty()) {
        if (error)
            *error = "empty picture";
        return false;
    }
    std::ostringstream o;
    o << "level {\n\tdata {\n";
    o << "\t\tavailableChips = \"" << chips << "\"\n";
    o << "\t\tsize = " << grid.size() << ", " << grid[0].size() << "\n";
    o << "\t\tposition = 0, 0\n";
    o << "\t\tseconds = " << seconds << "\n";
    o << "\t\tscore = 0\n";
    o << "\t}\n\ttile {\n";
    std::vector<std::pair<int, int>> creators;
    for (size_t r = 0; r < grid.size(); ++r) {
        o << "\t\trow" << r << " = ";
        for (size_t c = 0; c < grid[r].size(); ++c) {
            const TM3CellToken& t = grid[r][c];
            if (c)
                o << ", ";
            std::string kinds = t.hole ? "0" : std::to_string(t.floor);
            if (!t.hole && t.overlay)
                kinds += "|" + std::to_string(t.overlay);
            std::string obst = "0";
            if (!t.obstacles.empty()) {
                obst.clear();
                for (size_t k = 0; k < t.obstacles.size(); ++k)
                    obst += (k ? "|" : "") + std::to_string(t.obstacles[k]);
            }
            o << "\"" << kinds << " " << (t.hole ? 0 : t.chip) << " " << obst << " 0 " << (t.locked ? 1 : 0) << "\"";
            if (t.creator && !t.hole)
                creators.emplace_back(static_cast<int>(r), static_cast<int>(c));
        }
        o << "\n";
    }
    o << "\t}\n\tcreators {\n\t\ti = " << creators.size() << "\n";
    for (size_t k = 0; k < creators.size(); ++k)
        o << "\t\tc" << (k + 1) << " = " << creators[k].first << ", " << creators[k].second << "\n";
    o << "\t}\n}\n";
    out = o.str();
    return true;
}

bool WriteLevelFromPicture(const std::string& path, const std::string& picture, const std::string& chips,
                           std::string* error, int seconds)
{
    std::string text;
    if (!LevelTextFromPicture(picture, chips, seconds, text, error))
        return false;
    if (!platform::SaveString(text, path)) {
        if (error)
            *error = "cannot write " + path;
        return false;
    }
    return true;
}

std::string DumpBoard(const TM3Level& level)
{
    std::string out;
    for (int r = 0; r < level.rows; ++r) {
        for (int c = 0; c < level.cols; ++c) {
            const TM3Tile* t = level.GetTileByPosition(r, c);
            TM3CellToken cell;
            if (!t || !t->td[0]) {
                cell.hole = true;
            } else {
                cell.floor = t->td[0]->id;
                cell.overlay = t->td[1] ? t->td[1]->id : 0;
                cell.chip = t->chip ? t->chip->KindId() : 0;
                cell.creator = t->isCreator != 0;
                cell.locked = t->locked != 0;
                for (const TM3Obstacle* o : t->obstacles)
                    cell.obstacles.push_back(o ? o->id : 0);
            }
            if (c)
                out += ' ';
            out += FormatCellToken(cell);
        }
        out += '\n';
    }
    return out;
}

} // namespace match3
