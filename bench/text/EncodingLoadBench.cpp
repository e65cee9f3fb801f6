// encodingloadbench: what reading a text file as UTF-8 or UTF-16 costs against reading it
// byte for byte. Writes a German text of the given size three times (Windows-1252, UTF-8
// of the same size, UTF-16 with a byte-order mark of the same characters as the UTF-8
// one) into a temporary folder, then loads each through the search's text loader and
// searches it for a word with an umlaut, and prints the median time of each and the
// ratios to the Windows-1252 file, in elapsed time and in processor time (which the
// other programs on a busy machine disturb less; the ratio is taken of it). Checks that all three yield the same passages. The
// loader keeps its buffers between runs, as between the files of a search.
//
// Usage: encodingloadbench [megabytes=64] [runs=5]
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/PatternRegistry.h"
#include "engine/SearchExpression.h"
#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "platform/testing/TempTree.h"
#include "text/FileTextLoader.h"

namespace {

using sorbex::CExprNode;

// Evaluates the expression on every text it receives and counts the passages.
class CountingSink : public sorbex::CTextSink {
public:
    explicit CountingSink(CExprNode& root) : root_(root) {}
    void ProcessMessages() override {}
    bool CancelRequested() const override { return false; }
    void SearchText(const std::shared_ptr<const std::string>& text, int) override {
        const std::unique_ptr<sorbex::CPassageList> list =
            root_.Evaluate(text->c_str(), text->size(), 0);
        passages = list ? list->passages.size() : 0;
        characters = text->size();
    }
    std::size_t passages = 0;
    std::size_t characters = 0;

private:
    CExprNode& root_;
};

// Lines of German prose with an umlaut every few words, as in most German text.
std::string Sentence(std::size_t n) {
    static const char* const kLines[] = {
        "Wir gingen \xFC"
        "ber den H\xFCgel und tranken dort oben Tee.\n",
        "Die M\xE4nner und Frauen sa\xDF"
        "en am Ufer des Flusses, bis es dunkel wurde.\n",
        "Im Sommer bl\xFChen die Wiesen, und die K\xFChe stehen im hohen Gras.\n",
        "Er schrieb ihr einen langen Brief \x84"
        "aus der Stadt\x93 und wartete.\n",
    };
    return kLines[n % 4];
}

std::string Utf8Of(const std::string& cp1252) {
    return kestrix::Cp1252ToUtf8(cp1252);
}

double MedianSeconds(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::size_t size = megabytes << 20;

    // The Windows-1252 file and the UTF-8 file have the same size in bytes; the UTF-8 one
    // holds fewer characters, as the same file written by a UTF-8 editor would.
    std::string ansi;
    std::string utf8;
    std::string utf8Text; // its characters in the code page
    for (std::size_t n = 0; ansi.size() < size; ++n)
        ansi += Sentence(n);
    for (std::size_t n = 0; utf8.size() < size; ++n) {
        utf8 += Utf8Of(Sentence(n));
        utf8Text += Sentence(n);
    }
    ansi.resize(size);
    std::string utf16 = "\xFF\xFE";
    for (const char c : utf8Text) {
        const char32_t u = kestrix::Cp1252Character(static_cast<unsigned char>(c));
        utf16 += static_cast<char>(u & 0xFF);
        utf16 += static_cast<char>(u >> 8);
    }

    kestrix::TempTree tree;
    tree.Write("ansi.txt", ansi);
    tree.Write("utf8.txt", utf8);
    tree.Write("utf16.txt", utf16);

    sorbex::CPatternRegistry registry;
    std::unique_ptr<CExprNode> root;
    int groups = 0;
    if (sorbex::CompileSearchExpression("H\xFCgel", {}, registry, root, groups)) {
        std::fprintf(stderr, "the expression did not compile\n");
        return 2;
    }
    const std::unique_ptr<kestrix::FileSystem> fs = kestrix::MakeSystemFileSystem();

    struct File {
        const char* name;
        std::size_t bytes;
        double seconds = 0;
        double cpuSeconds = 0;
        std::size_t passages = 0;
    };
    File files[] = {
        {"ansi.txt", ansi.size()}, {"utf8.txt", utf8.size()}, {"utf16.txt", utf16.size()}};
    for (File& file : files) {
        std::vector<double> times;
        std::vector<double> cpuTimes;
        CountingSink sink(*root);
        // One loader for all runs, as one search run keeps its buffers from file to
        // file; the first run, which touches fresh memory, is not counted.
        sorbex::CFileTextLoader loader(*fs);
        for (int run = -1; run < runs; ++run) {
            sorbex::CTextLoadOptions options;
            const std::clock_t cpuBegin = std::clock();
            const auto begin = std::chrono::steady_clock::now();
            loader.LoadFileText(tree.root(), file.name, options, &sink);
            const auto end = std::chrono::steady_clock::now();
            const std::clock_t cpuEnd = std::clock();
            if (run >= 0) {
                times.push_back(std::chrono::duration<double>(end - begin).count());
                cpuTimes.push_back(static_cast<double>(cpuEnd - cpuBegin) / CLOCKS_PER_SEC);
            }
        }
        file.seconds = MedianSeconds(times);
        file.cpuSeconds = MedianSeconds(cpuTimes);
        file.passages = sink.passages;
    }
    std::printf("%-10s %12s %10s %10s %10s %8s\n", "file", "bytes", "seconds", "cpu", "passages",
                "ratio");
    for (const File& file : files) {
        std::printf("%-10s %12zu %10.3f %10.3f %10zu %8.2f\n", file.name, file.bytes,
                    file.seconds, file.cpuSeconds, file.passages,
                    file.cpuSeconds / files[0].cpuSeconds);
    }
    // The UTF-8 and UTF-16 files hold the same characters; the Windows-1252 file of the
    // same size as the UTF-8 one holds a little more of the same text.
    if (files[1].passages != files[2].passages || files[1].passages == 0 ||
        files[0].passages < files[1].passages) {
        std::fprintf(stderr, "the files yielded different passages\n");
        return 1;
    }
    return 0;
}
