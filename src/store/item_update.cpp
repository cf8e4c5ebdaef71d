#include "store/item_update.h"

#include "markup/markup_node.h"
#include "store/item_rules.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace store {

using markup::MarkupAttribute;
using markup::MarkupNode;

namespace {

char* CopyText(platform::Env* env, const char* text) {
    std::size_t length = StrLength(text);
    char* copy = static_cast<char*>(env->AllocZeroed(length + 1));
    if (copy != nullptr && length > 0) CopyBytes(copy, text, length);
    return copy;
}

// Index of the first attribute named `name` ignoring case, or -1.
int FindAttributeIndex(const MarkupNode* element, const char* name) {
    for (int i = 0; i < element->AttributeCount && i < markup::kMaxAttributes; ++i) {
        if (AsciiCompareNoCase(element->Attributes[i].Name, name) == 0) return i;
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

void ClearUpdate(ItemUpdate* update) {
    update->Element = nullptr;
    for (int i = 0; i < kFieldCount; ++i) {
        update->Names[i] = nullptr;
        update->Values[i] = nullptr;
    }
    update->Complete = true;
}

}  // namespace

bool PrepareItemUpdate(ItemUpdate* update, MarkupNode* element, ItemKind kind, const char* path,
                       const StoredPlace& place) {
    ClearUpdate(update);
    if (element == nullptr || !FitsIn(path, kPathSize)) return false;
    update->Element = element;

    ItemTexts texts;
    FillItemTexts(&texts, kind, path, place);
    platform::Env* env = element->HeapEnv;
    int appended = 0;
    for (int i = 0; i < texts.Count; ++i) {
        const char* name = kFieldNames[texts.Ids[i]];
        int index = FindAttributeIndex(element, name);
        if (index >= 0) {
            const MarkupAttribute& attribute = element->Attributes[index];
            if (SameText(attribute.Name, name) && SameText(attribute.Value, texts.Values[i])) continue;
        } else if (element->AttributeCount + appended >= markup::kMaxAttributes) {
            // No room for it: the others are still set, as SetAttribute would.
            update->Complete = false;
            continue;
        } else {
            ++appended;
        }
        update->Names[i] = CopyText(env, name);
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
    platform::Env* env = element->HeapEnv;
    for (int i = 0; i < kFieldCount; ++i) {
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
        platform::Env* env = update->Element->HeapEnv;
        for (int i = 0; i < kFieldCount; ++i) {
            env->Release(update->Names[i]);
            env->Release(update->Values[i]);
        }
    }
    ClearUpdate(update);
}

MarkupNode* NewDetachedItem(MarkupNode* document, ItemKind kind, const char* path, const StoredPlace& place) {
    if (document == nullptr || !FitsIn(path, kPathSize)) return nullptr;
    MarkupNode* element = document->CreateNode(markup::kNodeElement, nullptr, nullptr);
    if (element == nullptr) return nullptr;
    CopyBounded(element->Name, "item", sizeof element->Name);
    ItemUpdate update;
    if (!PrepareItemUpdate(&update, element, kind, path, place)) {
        markup::Destroy(element);
        return nullptr;
    }
    ApplyItemUpdate(&update);
    return element;
}

bool UpdateWholeItem(PositionFile& file, ItemKind kind, const char* path, const StoredPlace& place) {
    ItemUpdate update;
    if (!PrepareItemUpdate(&update, FindItem(file, kind, path), kind, path, place)) return false;
    bool complete = update.Complete;
    ApplyItemUpdate(&update);
    return complete;
}

bool StoreWholeItem(PositionFile& file, ItemKind kind, const char* path, const StoredPlace& place) {
    if (FindItem(file, kind, path) != nullptr) return UpdateWholeItem(file, kind, path, place);
    return AddItemElement(file, kind, path, place);
}

}  // namespace store
}  // namespace tarnwick
