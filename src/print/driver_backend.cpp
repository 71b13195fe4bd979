#include "print/driver_backend.h"

namespace orvella {

namespace {

TDriverBackend& Backend()
{
    static TDriverBackend backend;
    return backend;
}

}  // namespace

void SetDriverBackend(TDriverBackend backend) { Backend() = std::move(backend); }

const TDriverBackend& DriverBackend() { return Backend(); }

TDriverBackend UnavailableDriverBackend() { return {}; }

}  // namespace orvella
