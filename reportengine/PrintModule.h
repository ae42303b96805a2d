#pragma once

#include "PrintPreviewRequest.h"

#include <memory>

// Loads the print module on first use.
namespace PrintModule {

// A new print preview window for the request. Throws ReportError when the
// module cannot be loaded.
std::unique_ptr<QDialog> makePreview(const PrintPreviewRequest& request, QWidget* parent);

} // namespace PrintModule
