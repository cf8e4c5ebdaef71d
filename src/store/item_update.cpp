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

void ClearUpdate(ItemUpdate* update) {
    update->Element = nullptr;
    update->RemoveCount = 0;
    update->PutCount = 0;
    update->Complete = true;
}

// Adds a new pair of strings to go to attribute `at`; false when memory
// runs out.
bool AddPut(ItemUpdate* update, int at, const char* name, const char* value) {
    platform::Env* env = update->Element->HeapEnv;
    int k = update->PutCount;
    update->Names[k] = CopyText(env, name);
    update->Values[k] = CopyText(env, value);
    update->PutAt[k] = static_cast<std::int8_t>(at);
    ++update->PutCount;
    return update->Names[k] != nullptr && update->Values[k] != nullptr;
}

// Notes that every attribute named `name` (ignoring case) goes, keeping
// the removals highest first.
void AddRemovals(ItemUpdate* update, const MarkupNode* element, const char* name) {
    for (int i = element->AttributeCount - 1; i >= 0; --i) {
        if (AsciiCompareNoCase(element->Attributes[i].Name, name) != 0) continue;
        // Insert in descending order among the removals noted so far.
        int k = update->RemoveCount++;
        while (k > 0 && update->Removals[k - 1] < i) {
            update->Removals[k] = update->Removals[k - 1];
            --k;
        }
        update->Removals[k] = static_cast<std::int8_t>(i);
    }
}

// Where attribute `index` stands once the removals are done.
int IndexAfterRemovals(const ItemUpdate* update, int index) {
    int below = 0;
    for (int k = 0; k < update->RemoveCount; ++k) {
        if (update->Removals[k] < index) ++below;
    }
    return index - below;
}

}  // namespace

bool PrepareItemUpdate(ItemUpdate* update, MarkupNode* element, ItemKind kind, const char* path,
                       const StoredPlace& place) {
    ClearUpdate(update);
    if (element == nullptr || !FitsIn(path, kPathSize)) return false;
    update->Element = element;

    ItemTexts texts;
    FillItemTexts(&texts, kind, path, place);
    ItemFields fields;
    FindFields(element, fields);
    // First what goes, so that what stays knows where it will stand.
    for (int i = 0; i < texts.Count; ++i) {
        if (texts.Values[i] == nullptr && fields.At[texts.Ids[i]] >= 0) {
            AddRemovals(update, element, kFieldNames[texts.Ids[i]]);
        }
    }
    int count = element->AttributeCount - update->RemoveCount;
    for (int i = 0; i < texts.Count; ++i) {
        if (texts.Values[i] == nullptr) continue;
        const char* name = kFieldNames[texts.Ids[i]];
        int index = fields.At[texts.Ids[i]];
        if (index >= 0) {
            const MarkupAttribute& attribute = element->Attributes[index];
            if (SameText(attribute.Name, name) && SameText(attribute.Value, texts.Values[i])) continue;
            index = IndexAfterRemovals(update, index);
        } else if (count >= markup::kMaxAttributes) {
            // No room for it: the others are still set, as SetAttribute would.
            update->Complete = false;
            continue;
        } else {
            index = count++;
        }
        if (!AddPut(update, index, name, texts.Values[i])) {
            DiscardItemUpdate(update);
            return false;
        }
    }
    // Room for the new ones; the attributes themselves do not change.
    if (!markup::ReserveAttributes(element, count)) {
        DiscardItemUpdate(update);
        return false;
    }
    return true;
}

bool PrepareWholeCopy(ItemUpdate* update, MarkupNode* element, const MarkupNode* source) {
    ClearUpdate(update);
    if (element == nullptr || source == nullptr) return false;
    update->Element = element;
    int count = source->AttributeCount;
    for (int i = element->AttributeCount - 1; i >= count; --i) {
        update->Removals[update->RemoveCount++] = static_cast<std::int8_t>(i);
    }
    for (int i = 0; i < count; ++i) {
        const MarkupAttribute& theirs = source->Attributes[i];
        if (i < element->AttributeCount) {
            const MarkupAttribute& ours = element->Attributes[i];
            if (SameText(ours.Name, theirs.Name) && SameText(ours.Value, theirs.Value)) continue;
        }
        if (!AddPut(update, i, theirs.Name, theirs.Value)) {
            DiscardItemUpdate(update);
            return false;
        }
    }
    if (!markup::ReserveAttributes(element, count)) {
        DiscardItemUpdate(update);
        return false;
    }
    return true;
}

bool HoldsSameAttributes(const MarkupNode* element, const MarkupNode* source) {
    if (element->AttributeCount != source->AttributeCount) return false;
    for (int i = 0; i < element->AttributeCount; ++i) {
        const MarkupAttribute& ours = element->Attributes[i];
        const MarkupAttribute& theirs = source->Attributes[i];
        if (!SameText(ours.Name, theirs.Name) || !SameText(ours.Value, theirs.Value)) return false;
    }
    return true;
}

void ApplyItemUpdate(ItemUpdate* update) {
    MarkupNode* element = update->Element;
    if (element == nullptr) return;
    platform::Env* env = element->HeapEnv;
    for (int k = 0; k < update->RemoveCount; ++k) markup::RemoveAttribute(element, update->Removals[k]);
    // Replacements first stand below the count, new ones follow it in order.
    for (int k = 0; k < update->PutCount; ++k) {
        if (!markup::PutAttribute(element, update->PutAt[k], update->Names[k], update->Values[k])) {
            // No room after all (cannot happen after a successful prepare).
            env->Release(update->Names[k]);
            env->Release(update->Values[k]);
        }
    }
    ClearUpdate(update);
}

void DiscardItemUpdate(ItemUpdate* update) {
    if (update->Element != nullptr) {
        platform::Env* env = update->Element->HeapEnv;
        for (int k = 0; k < update->PutCount; ++k) {
            env->Release(update->Names[k]);
            env->Release(update->Values[k]);
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

MarkupNode* NewDetachedCopy(MarkupNode* document, const MarkupNode* source) {
    if (document == nullptr || source == nullptr) return nullptr;
    MarkupNode* element = document->CreateNode(markup::kNodeElement, nullptr, nullptr);
    if (element == nullptr) return nullptr;
    CopyBounded(element->Name, "item", sizeof element->Name);
    ItemUpdate update;
    if (!PrepareWholeCopy(&update, element, source)) {
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
