#pragma once

namespace Resources {
// Registers the compiled-in resources (style sheet, icons, pictures, cursor, default
// configurations). The client library is static, so the executable, the tests and the
// benchmarks call this once before they use any ":/" path.
void initialize();
} // namespace Resources
