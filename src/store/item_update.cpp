#include "store/item_update.h"

#include "markup/markup_node.h"
#include "store/item_rules.h"
#include "store/position_file.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupAttribute;
using markup::MarkupNode;

namespace {

const char* const kAttributeNames[kItemAttributeCount] = {"type", "path", "line", "column", "top", "left",
                                                          "overtype"};

platform::Env* HeapOf(const MarkupNode* element) {
    return element->HeapEnv != nullptr ? element->HeapEnv : platform::Env::Default();
}

char* CopyText(platform::Env* env, const char* text) {
    std::size_t length = StrLength(text);
    char* copy = static_cast<char*>(env->AllocZeroed(length + 1));
    if (copy != nullptr && length > 0) CopyBytes(copy, text, length);
    return copy;
}

// Index of the first attribute named `name` ignoring case, or -1.
int FindAttributeIndex(const MarkupNode* element, const char* name) {
    for (int i = 0; i < element->AttributeCount && i < markup::kMaxAttributes; ++i) {
        if (EqualNoCase(element->Attributes[i].Name, name)) return i;
    }
    return -1;
}

bool SameText(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// The item's values as attribute texts, in kAttributeNames order.
struct ItemTexts {
    char Numbers[5][12];
    const char* Values[kItemAttributeCount];
};

void FillTexts(ItemTexts* texts, const char* type, const char* path, const EditorSetPosition& position) {
    FormatInt(position.CurLine, texts->Numbers[0]);
    FormatInt(position.CurPos, texts->Numbers[1]);
    FormatInt(position.TopScreenLine, texts->Numbers[2]);
    FormatInt(position.LeftPos, texts->Numbers[3]);
    FormatInt(position.Overtype, texts->Numbers[4]);
    texts->Values[0] = type;
    texts->Values[1] = path;
    for (int i = 0; i < 5; ++i) texts->Values[2 + i] = texts->Numbers[i];
}

void ClearUpdate(ItemUpdate* update) {
    update->Element = nullptr;
    for (int i = 0; i < kItemAttributeCount; ++i) {
        update->Names[i] = nullptr;
        update->Values[i] = nullptr;
    }
    update->Complete = true;
}

}  // namespace

bool PrepareItemUpdate(ItemUpdate* update, MarkupNode* element, const char* type, const char* path,
                       const EditorSetPosition& position) {
    ClearUpdate(update);
    if (element == nullptr) return false;
    update->Element = element;
    if (!IsEditorType(type)) return true;
    if (!FitsIn(type, kTypeSize) || !FitsIn(path, kPathSize)) return false;

    ItemTexts texts;
    FillTexts(&texts, type, path, position);
    platform::Env* env = HeapOf(element);
    int appended = 0;
    for (int i = 0; i < kItemAttributeCount; ++i) {
        int index = FindAttributeIndex(element, kAttributeNames[i]);
        if (index >= 0) {
            const MarkupAttribute& attribute = element->Attributes[index];
            if (SameText(attribute.Name, kAttributeNames[i]) && SameText(attribute.Value, texts.Values[i])) continue;
        } else if (element->AttributeCount + appended >= markup::kMaxAttributes) {
            // No room for it: the others are still set, as SetAttribute would.
            update->Complete = false;
            continue;
        } else {
            ++appended;
        }
        update->Names[i] = CopyText(env, kAttributeNames[i]);
        update->Values[i] = CopyText(env, texts.Values[i]);
        if (update->Names[i] == nullptr || update->Values[i] == nullptr) {
            DiscardItemUpdate(update);
            return false;
        }
    }
    // Room for the new ones; the attributes themselves do not change.
    if (appended > 0 && !markup::ReserveAttributes(element, element->AttributeCount + appended)) {
        DiscardItemUpdate(update);
        return false;
    }
    return true;
}

void ApplyItemUpdate(ItemUpdate* update) {
    MarkupNode* element = update->Element;
    if (element == nullptr) return;
    platform::Env* env = HeapOf(element);
    for (int i = 0; i < kItemAttributeCount; ++i) {
        if (update->Names[i] == nullptr) continue;
        int index = FindAttributeIndex(element, update->Names[i]);
        if (index < 0) index = element->AttributeCount;
        if (!markup::PutAttribute(element, index, update->Names[i], update->Values[i])) {
            // No room after all (cannot happen after a successful prepare).
            env->Release(update->Names[i]);
            env->Release(update->Values[i]);
        }
    }
    ClearUpdate(update);
}

void DiscardItemUpdate(ItemUpdate* update) {
    if (update->Element != nullptr) {
        platform::Env* env = HeapOf(update->Element);
        for (int i = 0; i < kItemAttributeCount; ++i) {
            env->Release(update->Names[i]);
            env->Release(update->Values[i]);
        }
    }
    ClearUpdate(update);
}

MarkupNode* NewDetachedItem(MarkupNode* document, const char* type, const char* path,
                            const EditorSetPosition& position) {
    if (document == nullptr || !FitsIn(type, kTypeSize) || !FitsIn(path, kPathSize)) return nullptr;
    MarkupNode* element = document->CreateNode(markup::kNodeElement, nullptr, nullptr);
    if (element == nullptr) return nullptr;
    CopyBounded(element->Name, "item", sizeof element->Name);
    // An item of another type gets an empty type, as the fragment AddItem
    // starts from gives it; an editor item gets all its attributes in order.
    ItemUpdate update;
    bool made = IsEditorType(type) ? PrepareItemUpdate(&update, element, type, path, position)
                                   : markup::SetAttribute(element, "type", "");
    if (!made) {
        markup::Destroy(element);
        return nullptr;
    }
    if (IsEditorType(type)) ApplyItemUpdate(&update);
    return element;
}

bool UpdateWholeItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position) {
    ItemUpdate update;
    if (!PrepareItemUpdate(&update, FindItem(file, type, path), type, path, position)) return false;
    bool complete = update.Complete;
    ApplyItemUpdate(&update);
    return complete;
}

bool StoreWholeItem(PositionFile& file, const char* type, const char* path, const EditorSetPosition& position) {
    if (FindItem(file, type, path) != nullptr) return UpdateWholeItem(file, type, path, position);
    return AddItem(file, type, path, position);
}

}  // namespace store
}  // namespace tarnwick
