// The merge of the position file read from disk into the document in
// memory (see position_file.h for the rules it follows).
#pragma once

namespace tarnwick {
namespace markup {
class MarkupNode;
}  // namespace markup

namespace store {

struct PositionFile;

// Reconciles the document in memory with `incoming`, the file's current
// content, for the items of every kind (ItemKind), each kind on its own:
// - an item only in memory goes, and the host forgets its (kind, path)
//   (OpenFiles::Forget) unless its place is still to be written;
// - an item in both takes the file's item whole, every attribute of it and
//   none of memory's own, unless the host has that file open in a window
//   of that kind (memory's item stays as it is);
// - an item only in the file is added in front, whole, so items taken over
//   end up before all older ones and in the reverse of their order in the
//   file.
// Other elements on either side are left alone. Both documents are indexed
// by path first, so the whole merge is linear in their items. Everything
// that needs memory (indexes, new attribute strings, new items) is made
// before anything changes: false, with the document and the host as they
// were, when memory runs out.
bool MergeDocument(PositionFile& file, markup::MarkupNode* incoming);

}  // namespace store
}  // namespace tarnwick
