#include <venk/venk.hpp>

namespace venk {

// Defined here rather than in the header so that the two interfaces' vtables
// and type information live once, in the library, and a shared build exports
// them to every program that implements a stream.
InputStream::~InputStream() = default;
OutputStream::~OutputStream() = default;

}  // namespace venk
