#include "SizeOnlyStream.h"

#include <cstdlib>
#include <cstring>
#include <new>

// libisofs's stream object. Its header keeps the layout from C++ because one member is
// named "class"; this declaration keeps the same layout under another name.
struct iso_stream {
    IsoStreamIface* streamClass;
    int refcount;
    void* data;
};

namespace ketrilo {

namespace {

struct FileIdentity {
    off_t size;
    dev_t dev;
    ino_t ino;
};

// One allocation per file. libisofs releases a stream with free(), so the block is
// allocated with malloc and begins with the stream.
struct StreamBlock {
    IsoStream stream;
    FileIdentity identity;
};

// The id libisofs gives files of the local file system, so that identity means the same.
constexpr unsigned int LocalFileSystemId = 2;

FileIdentity& IdentityOf(IsoStream* stream) {
    return *static_cast<FileIdentity*>(stream->data);
}

int Succeed(IsoStream*) {
    return ISO_SUCCESS;
}

off_t SizeOf(IsoStream* stream) {
    return IdentityOf(stream).size;
}

// Measuring never writes the image, so the contents are never asked for.
int ReadNothing(IsoStream*, void*, size_t) {
    return ISO_FILE_READ_ERROR;
}

int Repeatable(IsoStream*) {
    return 1;
}

void IdOf(IsoStream* stream, unsigned int* fsId, dev_t* devId, ino_t* inoId) {
    *fsId = LocalFileSystemId;
    *devId = IdentityOf(stream).dev;
    *inoId = IdentityOf(stream).ino;
}

// The identity lives in the stream's own block, which libisofs frees after this.
void Free(IsoStream*) {}

IsoStreamIface SizeOnlyClass = [] {
    IsoStreamIface c{};
    c.version = 1;
    std::memcpy(c.type, "user", 4);
    c.open = Succeed;
    c.close = Succeed;
    c.get_size = SizeOf;
    c.read = ReadNothing;
    c.is_repeatable = Repeatable;
    c.get_id = IdOf;
    c.free = Free;
    c.update_size = Succeed;
    return c;
}();

} // namespace

IsoStream* NewSizeOnlyStream(off_t size, dev_t dev, ino_t ino) {
    auto* block = static_cast<StreamBlock*>(std::malloc(sizeof(StreamBlock)));
    if (block == nullptr)
        throw std::bad_alloc();
    block->identity = FileIdentity{size, dev, ino};
    block->stream = IsoStream{&SizeOnlyClass, 1, &block->identity};
    return &block->stream;
}

} // namespace ketrilo
