#pragma once

// What a column holds, as the windows need to read and show it.
enum class FieldKind {
    Text,
    Integer,
    Real,
    Bool,
    Date,
    Time,
    DateTime,
    Blob,
};
