// The compound-file format through libgsf: its reader and writer see only bytes in
// memory, so a broken file can never make them touch the disk or read past its end.
#include "platform/posix/CfbCodec.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <cstring>
#include <mutex>
#include <new>

namespace kestrix {
namespace cfb {

namespace {

// Deeper nesting than this is taken as a broken file, not followed.
constexpr int kMaxDepth = 64;

// Complaints of the reader on this thread (see InitOnce).
thread_local unsigned long tComplaints = 0;

void InitOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        // The reader complains about damage it works around (an entry or a chain it
        // drops) and carries on; each complaint is counted, and a file that caused
        // one is reported as damaged instead of opened with parts missing.
        const auto levels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL |
                                                        G_LOG_LEVEL_MESSAGE);
        for (const char* domain : {"libgsf:msole", "libgsf", static_cast<const char*>(nullptr)})
            g_log_set_handler(
                domain, levels,
                [](const gchar*, GLogLevelFlags, const gchar*, gpointer) { ++tComplaints; },
                nullptr);
    });
}

// Holds one GObject reference.
template <typename T> class GRef {
public:
    explicit GRef(T* object = nullptr) : object_(object) {}
    ~GRef() {
        if (object_)
            g_object_unref(object_);
    }
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
    T* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_;
};

unsigned Le16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

OsError ReadTree(GsfInfile* storage, const std::string& path, compound::Node& node, int depth,
                 std::uint64_t fileSize) {
    if (depth > kMaxDepth)
        return MakeOsError("gsf_infile_msole_new", path, StorageError::kInvalidHeader);
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        const char* name = gsf_infile_name_by_index(storage, i);
        GRef<GsfInput> child(gsf_infile_child_by_index(storage, i));
        if (!name || !child)
            return MakeOsError("gsf_infile_child_by_index", path, StorageError::kReadFault);
        auto element = std::make_shared<compound::Node>();
        if (GSF_IS_INFILE(child.get()) && gsf_infile_num_children(GSF_INFILE(child.get())) >= 0) {
            element->isStorage = true;
            if (OsError e = ReadTree(GSF_INFILE(child.get()), path, *element, depth + 1, fileSize))
                return e;
        } else {
            element->isStorage = false;
            const gsf_off_t size = gsf_input_size(child.get());
            // No stream can be larger than the file that holds it: a size beyond that is
            // damage, not a reason to allocate.
            if (size < 0 || static_cast<std::uint64_t>(size) > compound::kMaxStreamSize ||
                static_cast<std::uint64_t>(size) > fileSize)
                return MakeOsError("gsf_input_size", path, StorageError::kReadFault);
            element->data.resize(static_cast<std::size_t>(size));
            if (size > 0 &&
                !gsf_input_read(child.get(), static_cast<std::size_t>(size), element->data.data()))
                return MakeOsError("gsf_input_read", path, StorageError::kReadFault);
        }
        // A name the format could not have stored (or a second entry of the same
        // name) marks a broken file.
        if (compound::CheckName("", name) || !node.children.emplace(name, element).second)
            return MakeOsError("gsf_infile_name_by_index", path, StorageError::kInvalidHeader);
    }
    return {};
}

bool WriteTree(GsfOutfile* storage, const compound::Node& node) {
    for (const auto& [name, child] : node.children) {
        if (!g_utf8_validate(name.c_str(), -1, nullptr))
            return false;
        GRef<GsfOutput> out(gsf_outfile_new_child(storage, name.c_str(), child->isStorage));
        if (!out)
            return false;
        bool ok = child->isStorage
                      ? WriteTree(GSF_OUTFILE(out.get()), *child)
                      : (child->data.empty() ||
                         gsf_output_write(out.get(), child->data.size(), child->data.data()));
        ok = gsf_output_close(out.get()) && ok;
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

bool LooksLikeCompoundFile(const unsigned char* bytes, std::size_t size) {
    static const unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (size < 512 || std::memcmp(bytes, kSignature, sizeof kSignature) != 0)
        return false;
    const unsigned byteOrder = Le16(bytes + 28);
    const unsigned sectorShift = Le16(bytes + 30);
    const unsigned miniShift = Le16(bytes + 32);
    return byteOrder == 0xFFFE && (sectorShift == 9 || sectorShift == 12) && miniShift == 6;
}

OsError Read(const std::vector<unsigned char>& bytes, const std::string& path,
             compound::Node& root) {
    InitOnce();
    root.isStorage = true;
    root.children.clear();
    if (!LooksLikeCompoundFile(bytes.data(), bytes.size()))
        return MakeOsError("gsf_infile_msole_new", path, StorageError::kInvalidHeader);
    const unsigned long complaintsBefore = tComplaints;
    try {
        GRef<GsfInput> input(
            gsf_input_memory_new(bytes.data(), static_cast<gsf_off_t>(bytes.size()), FALSE));
        GError* error = nullptr;
        GRef<GsfInfile> file(input ? gsf_infile_msole_new(input.get(), &error) : nullptr);
        if (error)
            g_error_free(error);
        if (!file)
            return MakeOsError("gsf_infile_msole_new", path, StorageError::kInvalidHeader);
        OsError e = ReadTree(file.get(), path, root, 0, bytes.size());
        if (!e && tComplaints != complaintsBefore)
            e = MakeOsError("gsf_infile_msole_new", path, StorageError::kInvalidHeader);
        if (e)
            root.children.clear();
        return e;
    } catch (const std::bad_alloc&) {
        root.children.clear();
        return MakeOsError("gsf_infile_msole_new", path, StorageError::kInsufficientMemory);
    }
}

OsError Write(const compound::Node& root, const std::string& path,
              std::vector<unsigned char>& bytes) {
    InitOnce();
    bytes.clear();
    GRef<GsfOutput> sink(gsf_output_memory_new());
    if (!sink)
        return MakeOsError("gsf_output_memory_new", path, StorageError::kInsufficientMemory);
    bool ok;
    {
        GRef<GsfOutfile> file(gsf_outfile_msole_new(sink.get()));
        if (!file)
            return MakeOsError("gsf_outfile_msole_new", path, StorageError::kWriteFault);
        ok = WriteTree(file.get(), root);
        ok = gsf_output_close(GSF_OUTPUT(file.get())) && ok;
    }
    if (!ok)
        return MakeOsError("gsf_outfile_msole_new", path, StorageError::kInvalidName);
    const gsf_off_t size = gsf_output_size(sink.get());
    const guint8* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    if (size <= 0 || !data)
        return MakeOsError("gsf_output_memory_get_bytes", path, StorageError::kWriteFault);
    try {
        bytes.assign(data, data + size);
    } catch (const std::bad_alloc&) {
        return MakeOsError("gsf_output_memory_get_bytes", path, StorageError::kInsufficientMemory);
    }
    return {};
}

} // namespace cfb
} // namespace kestrix
