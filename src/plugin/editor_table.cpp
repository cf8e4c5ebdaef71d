#include "plugin/editor_table.h"

#include <cstring>

#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace plugin {

namespace {

// A new node holding its own copy of `record`; null when memory runs out.
EditorNode* NewNode(platform::Env* env, const EditorRecord& record, EditorNode* parent) {
    EditorNode* node = static_cast<EditorNode*>(env->AllocZeroed(sizeof(EditorNode)));
    if (node == nullptr) return nullptr;
    EditorRecord* copy = static_cast<EditorRecord*>(env->AllocZeroed(sizeof(EditorRecord)));
    if (copy == nullptr) {
        env->Release(node);
        return nullptr;
    }
    CopyBytes(copy, &record, sizeof(EditorRecord));
    node->Record = copy;
    node->Size = static_cast<std::int32_t>(sizeof(EditorRecord));
    node->Parent = parent;
    return node;
}

void ReleaseNode(platform::Env* env, EditorNode* node) {
    env->Release(node->Record);
    env->Release(node);
}

// The node with the key's (EditorID, Kind), or null.
EditorNode* FindByKey(const EditorTable& table, const EditorRecord& key) {
    EditorNode* node = table.Root;
    while (node != nullptr) {
        int order = CompareKeys(*node->Record, key);
        if (order == 0) return node;
        node = order > 0 ? node->Left : node->Right;
    }
    return nullptr;
}

// The node after `node` in the search order by file name: a node, then its
// whole Left subtree, then its whole Right subtree. Walks with the Parent
// links, so an unbalanced tree of any height costs no stack.
const EditorNode* NextInSearchOrder(const EditorNode* node) {
    if (node->Left != nullptr) return node->Left;
    if (node->Right != nullptr) return node->Right;
    // A leaf: climb until some ancestor still has an unvisited Right
    // subtree, which is the case when we come up from its Left side.
    const EditorNode* child = node;
    const EditorNode* parent = node->Parent;
    while (parent != nullptr && (parent->Right == nullptr || parent->Right == child)) {
        child = parent;
        parent = parent->Parent;
    }
    return parent != nullptr ? parent->Right : nullptr;
}

// The first node in the search order whose record matches the key by path.
const EditorNode* FindByPath(const EditorTable& table, const EditorRecord& key) {
    for (const EditorNode* node = table.Root; node != nullptr; node = NextInSearchOrder(node)) {
        if (MatchPath(*node->Record, key, *table.Comparison)) return node;
    }
    return nullptr;
}

}  // namespace

EditorRecord EditorKey(std::int32_t editorId, store::ItemKind kind) {
    EditorRecord key{};
    key.Kind = kind;
    key.EditorID = editorId;
    return key;
}

EditorRecord PathKey(const char* path, store::ItemKind kind) {
    EditorRecord key{};
    key.Kind = kind;
    CopyBounded(key.Path, path, kPathSize);
    return key;
}

int CompareKeys(const EditorRecord& node, const EditorRecord& key) {
    if (node.EditorID == key.EditorID) return node.Kind == key.Kind ? 0 : -1;
    return key.EditorID > node.EditorID ? -1 : 1;
}

EditorRecord* FindRecord(EditorTable& table, std::int32_t editorId, store::ItemKind kind) {
    EditorNode* node = table.Root;
    while (node != nullptr) {
        const EditorRecord& record = *node->Record;
        if (record.EditorID == editorId && record.Kind == kind) return node->Record;
        // CompareKeys's order: a larger id, or the same id and another kind, lies to the right.
        node = record.EditorID > editorId ? node->Left : node->Right;
    }
    return nullptr;
}

bool MatchPath(const EditorRecord& node, const EditorRecord& key, const CaseComparison& comparison) {
    return node.Kind == key.Kind && comparison.Equal(node.Path, key.Path);
}

bool InsertRecord(EditorTable& table, const EditorRecord& record) {
    if (table.Root == nullptr) {
        EditorNode* node = NewNode(table.Heap, record, nullptr);
        if (node == nullptr) return false;
        table.Root = node;
        AddToPathFilter(table.Paths, FoldedHash(record.Path));
        return true;
    }
    EditorNode* node = table.Root;
    for (;;) {
        int order = CompareKeys(*node->Record, record);
        if (order == 0) {
            // Most rewrites (one at every redraw) keep the path.
            if (std::strcmp(node->Record->Path, record.Path) != 0) {
                AddToPathFilter(table.Paths, FoldedHash(record.Path));
            }
            // The copy has the record's exact size, so it is rewritten in place.
            CopyBytes(node->Record, &record, sizeof(EditorRecord));
            return true;
        }
        EditorNode** side = order > 0 ? &node->Left : &node->Right;
        if (*side == nullptr) {
            EditorNode* child = NewNode(table.Heap, record, node);
            if (child == nullptr) return false;
            *side = child;
            AddToPathFilter(table.Paths, FoldedHash(record.Path));
            return true;
        }
        node = *side;
    }
}

bool ContainsRecord(const EditorTable& table, const EditorRecord& key) {
    return FindByKey(table, key) != nullptr;
}

bool ContainsRecordForPath(const EditorTable& table, const EditorRecord& key) {
    return FindByPath(table, key) != nullptr;
}

bool ContainsPath(const EditorTable& table, store::ItemKind kind, const char* path, std::uint32_t pathHash) {
    if (!PathFilterMayHold(table.Paths, pathHash)) return false;
    for (const EditorNode* node = table.Root; node != nullptr; node = NextInSearchOrder(node)) {
        if (node->Record->Kind == kind && table.Comparison->Equal(node->Record->Path, path)) return true;
    }
    return false;
}

bool FetchRecord(const EditorTable& table, EditorRecord* record) {
    if (record == nullptr) return false;
    EditorNode* node = FindByKey(table, *record);
    if (node == nullptr) return false;
    CopyBytes(record, node->Record, static_cast<std::size_t>(node->Size));
    return true;
}

bool FetchRecordByPath(const EditorTable& table, EditorRecord* record) {
    if (record == nullptr) return false;
    const EditorNode* node = FindByPath(table, *record);
    if (node == nullptr) return false;
    CopyBytes(record, node->Record, static_cast<std::size_t>(node->Size));
    return true;
}

void VisitRecords(const EditorTable& table, void (*visit)(const EditorRecord& record, void* context), void* context) {
    if (visit == nullptr) return;
    for (const EditorNode* node = table.Root; node != nullptr; node = NextInSearchOrder(node)) {
        visit(*node->Record, context);
    }
}

void RemoveRecord(EditorTable& table, const EditorRecord& key) {
    EditorNode* node = FindByKey(table, key);
    if (node == nullptr) return;
    EditorNode* left = node->Left;
    EditorNode* right = node->Right;
    EditorNode* parent = node->Parent;

    // The Left subtree takes the node's place; the Right subtree hangs under
    // the greatest record of the Left one, which keeps the order intact.
    EditorNode* replacement = left != nullptr ? left : right;
    if (left != nullptr && right != nullptr) {
        EditorNode* greatest = left;
        while (greatest->Right != nullptr) greatest = greatest->Right;
        greatest->Right = right;
        right->Parent = greatest;
    }

    if (parent == nullptr) {
        table.Root = replacement;
    } else if (parent->Left == node) {
        parent->Left = replacement;
    } else {
        parent->Right = replacement;
    }
    if (replacement != nullptr) replacement->Parent = parent;
    ReleaseNode(table.Heap, node);
    // The filter holds the paths that are left (the table is small).
    ClearPathFilter(table.Paths);
    for (const EditorNode* at = table.Root; at != nullptr; at = NextInSearchOrder(at)) {
        AddToPathFilter(table.Paths, FoldedHash(at->Record->Path));
    }
}

void DestroyAllRecords(EditorTable& table) {
    // Post-order, Right subtree first: go down (Right before Left) to a node
    // without children, release it, cut it off its parent and go on from the
    // parent. No stack, whatever the tree's height.
    EditorNode* node = table.Root;
    while (node != nullptr) {
        if (node->Right != nullptr) {
            node = node->Right;
        } else if (node->Left != nullptr) {
            node = node->Left;
        } else {
            EditorNode* parent = node->Parent;
            if (parent != nullptr) {
                if (parent->Right == node) {
                    parent->Right = nullptr;
                } else {
                    parent->Left = nullptr;
                }
            }
            ReleaseNode(table.Heap, node);
            node = parent;
        }
    }
    table.Root = nullptr;
    ClearPathFilter(table.Paths);
}

}  // namespace plugin
}  // namespace tarnwick
