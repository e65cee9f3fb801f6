// Fuzz target: a result file (*.sbx) as the program opens it, through the compound
// layer: the page list read, and each page's results read when it is shown.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "platform/CompoundStorage.h"
#include "platform/FileSystem.h"
#include "storage/StorageUiRecorder.h"
#include "resultfile/TabDoc.h"

namespace {

const std::string& ScratchPath() {
    static const std::string path =
        "/tmp/kestrix-fuzz-result-file-" + std::to_string(::getpid()) + ".sbx";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<kestrix::FileSystem> fs = kestrix::MakeSystemFileSystem();
    {
        std::ofstream file(ScratchPath(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!file)
            std::abort();
    }
    sorbex::CStorageUiRecorder ui;
    sorbex::CTabDoc doc(*fs, kestrix::SystemCompoundFiles());
    if (doc.OpenDocument(ScratchPath(), ui)) {
        for (std::size_t i = 0; i < doc.size(); ++i) {
            if (doc.ShowPage(i))
                for (std::size_t r = 0; r < doc[i].results.size(); ++r)
                    if (doc[i].results[r].name.size() > size)
                        std::abort(); // nothing read can be longer than the file
        }
    } else if (ui.events.empty()) {
        std::abort(); // a file that cannot be opened says so
    }
    std::remove(ScratchPath().c_str());
    return 0;
}
