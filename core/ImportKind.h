#pragma once

// Which register an import fills: tools or recipients (workers).
enum class ImportKind { Tools, Recipients };
