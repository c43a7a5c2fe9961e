// wingtucker-snap as a user runs it: every form it lists renders to a PNG of
// the form's size, drawn (not one flat colour), with the dialog face in its
// corner; a form it does not know is refused.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

// Runs the tool with args; its standard output, and the exit status.
std::string RunSnap(const std::string& args, int* status) {
    std::string out;
    FILE* pipe = popen((std::string(WT_SNAP_PATH) + " " + args + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    const int raw = pclose(pipe);
    *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

TEST(SnapTool, EveryListedFormRendersAtItsSizeAndIsDrawn) {
    // The add-in's own forms, at the client sizes their descriptions give.
    const std::map<std::string, QSize> sizes = {
        {"TfrmMain", {246, 112}},
        {"TfrmOptions", {248, 181}},
        {"TfrmAbout", {379, 192}},
        {"TfrmOops", {324, 136}},
        {"TDirectorySelectForm", {285, 254}},
        {"TCreateDirectoryForm", {471, 105}},
    };
    int status = -1;
    const std::string listed = RunSnap("--list", &status);
    ASSERT_EQ(status, 0);
    for (const auto& [name, size] : sizes)
        EXPECT_NE(listed.find(name + "\n"), std::string::npos) << name << " is not listed";

    char pattern[] = "/tmp/wt-snap-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    RunSnap("--all " + dir.string(), &status);
    EXPECT_EQ(status, 0);
    std::set<std::string> rendered;
    for (const auto& entry : fs::directory_iterator(dir))
        rendered.insert(entry.path().stem().string());
    std::size_t start = 0;
    for (std::size_t end; (end = listed.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string name = listed.substr(start, end - start);
        ASSERT_TRUE(rendered.count(name)) << name << " was listed but not rendered";
        const QImage image(QString::fromStdString((dir / (name + ".png")).string()));
        ASSERT_FALSE(image.isNull()) << name;
        if (auto it = sizes.find(name); it != sizes.end()) {
            EXPECT_EQ(image.size(), it->second) << name;
        }
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 3u) << name << " is not drawn";
        if (sizes.count(name)) { // the dialog face (white in the About box), never dark
            EXPECT_GT(QColor(image.pixel(0, 0)).lightness(), 150) << name;
        }
    }
    fs::remove_all(dir);

    RunSnap("TfrmNoSuchForm " + (dir / "x.png").string(), &status);
    EXPECT_NE(status, 0) << "an unknown form was not refused";
}

} // namespace
