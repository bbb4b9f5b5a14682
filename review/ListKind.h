#pragma once
// The three result lists: the file list of the selected directory, the clone
// list of its selected row, and the one list of the whole result.

namespace paradrex {

enum class ListKind { FileList, CloneList, OneList };
inline constexpr ListKind kListKinds[] = {ListKind::FileList, ListKind::CloneList,
                                          ListKind::OneList};

} // namespace paradrex
