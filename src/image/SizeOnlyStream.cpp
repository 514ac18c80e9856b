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

void Free(IsoStream* stream) {
    delete static_cast<FileIdentity*>(stream->data);
}

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
    // libisofs releases the stream with free(): allocate it with malloc.
    auto* stream = static_cast<IsoStream*>(std::malloc(sizeof(IsoStream)));
    if (stream == nullptr)
        throw std::bad_alloc();
    stream->streamClass = &SizeOnlyClass;
    stream->refcount = 1;
    stream->data = new FileIdentity{size, dev, ino};
    return stream;
}

} // namespace ketrilo
