// Helpers shared by the tests live in this folder; this file keeps the support library
// non-empty until they arrive.
namespace TestSupport {
int placeholder = 0;
}
