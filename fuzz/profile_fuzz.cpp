// The profile service on random files: a file of random text, then random
// reads, writes and removals of keys and sections. Nothing crashes; a write
// that succeeds keeps every line it did not touch, in order, and a read then
// gives back what was written; a write that fails leaves the file as it was.
#include "fuzz/fuzz_support.h"
#include "platform/profile.h"

#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace wt::fuzz {
namespace {

const char* const Sections[] = {"Wingtucker", "HELP", "s", "Other", "[x", "a b", "=", ";c"};
const char* const Keys[] = {"gwDelay", "gwSide", "k", "K2", "x y", "a]", "MoveOutSound", "#"};

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream out;
    out << file.rdbuf();
    return out.str();
}

void WriteWhole(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// --- What a line is, as the file format defines it -----------------------------

std::string_view Trim(std::string_view s) {
    const std::string_view blanks = " \t\r\v\f";
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return out;
}

// The lines without their ends (and without a byte-order mark). Carriage
// returns that end a line belong to its end, as the profile reads it, also
// on a last line without a newline: a write that ends that line with the
// file's line end ("\r" becomes "\r\n", or "\r\r\n" in a CRLF file)
// keeps it.
std::vector<std::string> Lines(std::string_view content) {
    if (content.substr(0, 3) == "\xEF\xBB\xBF")
        content.remove_prefix(3);
    std::vector<std::string> lines;
    while (!content.empty()) {
        std::size_t nl = content.find('\n');
        std::string_view line = content.substr(0, nl);
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        content.remove_prefix(nl == std::string_view::npos ? content.size() : nl + 1);
    }
    return lines;
}

std::optional<std::string> SectionOf(std::string_view line) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    std::size_t close = t.find(']');
    return Lower(Trim(t.substr(1, close == std::string_view::npos ? close : close - 1)));
}

std::optional<std::string> KeyOf(std::string_view line) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#' || t.front() == '[')
        return std::nullopt;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || Trim(line.substr(0, eq)).empty())
        return std::nullopt;
    return Lower(Trim(line.substr(0, eq)));
}

// Which of the lines an edit may change or remove: the section's lines for a
// section removal, the key's lines for a key removal, the key's first line
// for a set.
std::vector<bool> Touched(const std::vector<std::string>& lines, const ProfileEdit& edit) {
    const std::string section = Lower(Trim(edit.Section));
    const std::string key = edit.Key ? Lower(Trim(*edit.Key)) : std::string();
    std::vector<bool> touched(lines.size());
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionOf(lines[i]))
            inSection = *name == section;
        if (!inSection)
            continue;
        if (!edit.Key) {
            touched[i] = true;
        } else if (KeyOf(lines[i]) == key) {
            touched[i] = true;
            if (edit.Value)
                break;
        }
    }
    return touched;
}

bool KeptInOrder(const std::vector<std::string>& before, const std::vector<bool>& touched,
                 const std::vector<std::string>& after) {
    std::size_t j = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (touched[i])
            continue;
        while (j < after.size() && after[j] != before[i])
            ++j;
        if (j == after.size())
            return false;
        ++j;
    }
    return true;
}

// --- The run ------------------------------------------------------------------

constexpr char Absent[] = "\x7f(absent)";

std::string Read(std::string_view section, std::string_view key, const std::string& path) {
    return ProfileReadString(section, key, Absent, 4096, path);
}

using Model = std::map<std::pair<std::string, std::string>, std::string>;

void CheckModel(const Model& model, const std::string& path) {
    for (const auto& [name, value] : model)
        Check(Read(name.first, name.second, path) == value,
              "a key written earlier no longer reads back");
}

void OneEdit(FuzzedDataProvider& in, const std::string& path, Model& model) {
    const std::string section = PickName(in, Sections);
    const int kind = in.ConsumeIntegralInRange(0, 5);
    const std::string key = PickName(in, Keys);
    const std::string value = in.ConsumeRandomLengthString(40);
    ProfileEdit edit{section, std::nullopt, std::nullopt};
    if (kind > 0)
        edit.Key = key;
    if (kind > 1)
        edit.Value = value;

    const std::string before = ReadWhole(path);
    const ProfileWriteResult result = ProfileWriteStrings(std::span(&edit, 1), path);
    const std::string after = ReadWhole(path);
    if (result.Outcome != ProfileWriteOutcome::Written) {
        Check(after == before, "a write that wrote nothing changed the file");
        if (!result.Ok())
            return;
    } else {
        const std::string_view text = std::string_view(after).substr(
            after.starts_with("\xEF\xBB\xBF") ? 3 : 0); // a byte-order mark alone is no line
        Check(text.empty() || text.back() == '\n', "a written file does not end its last line");
        const std::vector<std::string> old = Lines(before);
        Check(KeptInOrder(old, Touched(old, edit), Lines(after)),
              "a write lost or reordered a line it did not touch");
    }

    const std::string s = Lower(Trim(section));
    if (!edit.Key) {
        std::erase_if(model, [&](const auto& entry) { return entry.first.first == s; });
        Check(Read(section, key, path) == Absent, "a key of a removed section still reads");
    } else if (!edit.Value) {
        model.erase({s, Lower(Trim(key))});
        Check(Read(section, key, path) == Absent, "a removed key still reads");
    } else {
        model[{s, Lower(Trim(key))}] = std::string(Trim(value));
    }
    CheckModel(model, path);
}

} // namespace
} // namespace wt::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wt;
    using namespace wt::fuzz;
    FuzzedDataProvider in(data, size);
    const std::string path = WorkDirectory() + "/Wingtckr.ini";
    WriteWhole(path, in.ConsumeRandomLengthString(2048));
    Model model;
    for (int step = 0; step < 16 && in.remaining_bytes() > 0; ++step) {
        if (in.ConsumeBool()) {
            OneEdit(in, path, model);
        } else {
            const std::string section = PickName(in, Sections);
            const std::string key = PickName(in, Keys);
            const std::string before = ReadWhole(path);
            const std::size_t buffer = in.ConsumeIntegralInRange<std::size_t>(0, 300);
            const std::string value = ProfileReadString(section, key, "d", buffer, path);
            Check(buffer == 0 ? value.empty() : value.size() < buffer,
                  "a read gave more than its buffer holds");
            Check(ReadWhole(path) == before, "a read changed the file");
        }
    }
    return 0;
}
