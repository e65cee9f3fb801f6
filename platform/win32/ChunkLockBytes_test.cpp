// The chunked byte array as the system's storage sees it through ILockBytes: sizes,
// reads past the end, no region locks, and a compound file built on it.
#include "platform/win32/ChunkLockBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrix {
namespace {

ULARGE_INTEGER At(std::uint64_t value) {
    ULARGE_INTEGER at{};
    at.QuadPart = value;
    return at;
}

TEST(ChunkLockBytesTest, ReadsWritesAndSizesAsTheStorageExpects) {
    ILockBytes* bytes = nullptr;
    ASSERT_EQ(S_OK, CreateChunkLockBytes(&bytes));
    const std::string text = "sector data";
    ULONG done = 0;
    EXPECT_EQ(S_OK, bytes->WriteAt(At(70000), text.data(), static_cast<ULONG>(text.size()), &done));
    EXPECT_EQ(text.size(), done);
    STATSTG stat{};
    EXPECT_EQ(S_OK, bytes->Stat(&stat, STATFLAG_NONAME));
    EXPECT_EQ(70000u + text.size(), stat.cbSize.QuadPart);
    EXPECT_EQ(nullptr, stat.pwcsName);
    EXPECT_EQ(0u, stat.grfLocksSupported) << "the storage must not try to lock regions";

    char back[32] = {};
    EXPECT_EQ(S_OK, bytes->ReadAt(At(70000 + 7), back, sizeof back, &done));
    EXPECT_EQ("data", std::string(back, done)) << "a read past the end gives what there is";
    EXPECT_EQ(S_OK, bytes->SetSize(At(10)));
    EXPECT_EQ(S_OK, bytes->ReadAt(At(70000), back, sizeof back, &done));
    EXPECT_EQ(0u, done);
    EXPECT_EQ(STG_E_MEDIUMFULL, bytes->SetSize(At(~0ull - 1))) << "no memory is a full medium";
    EXPECT_EQ(STG_E_INVALIDFUNCTION, bytes->LockRegion(At(0), At(1), LOCK_EXCLUSIVE));

    IUnknown* unknown = nullptr;
    EXPECT_EQ(S_OK, bytes->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(1u, unknown->Release()) << "the query took a reference of its own";
    EXPECT_EQ(0u, bytes->Release());
}

TEST(ChunkLockBytesTest, AStorageOnItKeepsAStreamLargerThanAChunk) {
    ILockBytes* bytes = nullptr;
    ASSERT_EQ(S_OK, CreateChunkLockBytes(&bytes));
    IStorage* storage = nullptr;
    ASSERT_EQ(S_OK, StgCreateDocfileOnILockBytes(
                        bytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage));
    std::string data(300 * 1024 + 3, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7 + (i >> 9));
    IStream* stream = nullptr;
    ASSERT_EQ(S_OK, storage->CreateStream(L"P0", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                          0, 0, &stream));
    ULONG done = 0;
    EXPECT_EQ(S_OK, stream->Write(data.data(), static_cast<ULONG>(data.size()), &done));
    stream->Release();
    EXPECT_EQ(S_OK, storage->Commit(STGC_DEFAULT));
    ASSERT_EQ(S_OK, storage->OpenStream(L"P0", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                        &stream));
    std::string back(data.size() + 10, '\0');
    EXPECT_EQ(S_OK, stream->Read(&back[0], static_cast<ULONG>(back.size()), &done));
    back.resize(done);
    EXPECT_TRUE(back == data) << "the stream differs from the one written";
    stream->Release();
    storage->Release();
    EXPECT_EQ(0u, bytes->Release()) << "the storage let go of its bytes";
}

} // namespace
} // namespace kestrix
