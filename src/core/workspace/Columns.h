#pragma once
// The columns of the three lists, left to right: the one numbering that sorting, the
// list models and the header clicks share.

namespace ketrilo {

enum WellColumn : int {
    WellColumnName,
    WellColumnExt,
    WellColumnBytes,
    WellColumnClusters,
    WellColumnPath,
    WellColumnCount
};

enum FolderColumn : int {
    FolderColumnName,
    FolderColumnExt,
    FolderColumnBytes,
    FolderColumnClusters,
    FolderColumnLength,
    FolderColumnTimestamp,
    FolderColumnCount
};

enum LongNameColumn : int {
    LongNameColumnName,
    LongNameColumnLength,
    LongNameColumnFolder,
    LongNameColumnCount
};

// The folder list and the well begin with the same four columns: name, extension,
// bytes on disc and clusters.
enum SharedColumn : int {
    SharedColumnName,
    SharedColumnExt,
    SharedColumnBytes,
    SharedColumnClusters
};
static_assert(int{WellColumnName} == SharedColumnName && int{FolderColumnName} == SharedColumnName);
static_assert(int{WellColumnExt} == SharedColumnExt && int{FolderColumnExt} == SharedColumnExt);
static_assert(int{WellColumnBytes} == SharedColumnBytes &&
              int{FolderColumnBytes} == SharedColumnBytes);
static_assert(int{WellColumnClusters} == SharedColumnClusters &&
              int{FolderColumnClusters} == SharedColumnClusters);

} // namespace ketrilo
