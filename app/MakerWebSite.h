#pragma once

class QUrl;

namespace MakerWebSite {
// The maker's web site, opened by the logo buttons of the start dialog and the main window.
QUrl url();
// Opens it in the system's web browser.
void open();
} // namespace MakerWebSite
