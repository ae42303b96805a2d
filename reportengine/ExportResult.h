#pragma once

// How an export ended: written, or left undone because the user chose not
// to overwrite an existing file (or chose no file).
enum class [[nodiscard]] ExportResult{Written, Declined};
