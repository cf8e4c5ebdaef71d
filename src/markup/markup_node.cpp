#include "markup/markup_node.h"

#include <new>

#include "markup/markup_block.h"
#include "support/memory.h"
#include "support/text.h"

namespace tarnwick {
namespace markup {

namespace {

// An exact-length heap copy of a zero-terminated string (null reads as
// empty); null when out of memory.
char* CopyString(platform::Env* env, const char* text) {
    std::size_t length = StrLength(text);
    char* copy = static_cast<char*>(env->AllocZeroed(length + 1));
    if (copy == nullptr) return nullptr;
    if (length > 0) CopyBytes(copy, text, length);
    return copy;
}

// Index of the first attribute named `name` ignoring the case of ASCII
// letters, or -1.
int FindAttribute(const MarkupNode* node, const char* name) {
    if (node == nullptr || name == nullptr) return -1;
    for (int i = 0; i < node->AttributeCount && i < node->AttributeCapacity; ++i) {
        if (AsciiCompareNoCase(node->Attributes[i].Name, name) == 0) return i;
    }
    return -1;
}

// Releases `root`, everything reachable from it through FirstChild and Next,
// and their attribute strings. Seen as a binary tree (FirstChild on the left,
// Next on the right), a node with a left subtree is rotated right until the
// current node has none; it is then released and the walk goes right. Every
// rotation moves one node off the left spine for good, so the whole teardown
// is linear in the number of nodes, uses constant space and never recurses,
// however deep or long the tree is.
void ReleaseTree(MarkupNode* root) {
    MarkupNode* current = root;
    while (current != nullptr) {
        MarkupNode* left = current->FirstChild;
        if (left != nullptr) {
            current->FirstChild = left->Next;
            left->Next = current;
            current = left;
        } else {
            MarkupNode* right = current->Next;
            MarkupBlock* block = current->Block;
            if (block == nullptr) {
                DeleteZeroed(current->HeapEnv, current);
            } else {
                current->~MarkupNode();
                ReleaseBlockNode(block);
            }
            current = right;
        }
    }
}

// The room for 32 attributes that NewMarkupNode allocates right after the node.
MarkupAttribute* InlineAttributes(MarkupNode* node) {
    return reinterpret_cast<MarkupAttribute*>(reinterpret_cast<char*>(node) + sizeof(MarkupNode));
}

// True when the node's attribute array is a heap block of its own: neither
// in its parse's block nor in the node's own allocation.
bool OwnsAttributeArray(MarkupNode* node) {
    return node->Attributes != nullptr && !BlockHolds(node->Block, node->Attributes) &&
           node->Attributes != InlineAttributes(node);
}

// Releases an attribute string unless it lives in the node's block.
void ReleaseString(MarkupNode* node, char* text) {
    if (text != nullptr && !BlockHolds(node->Block, text)) node->HeapEnv->Release(text);
}

// Converts the low 32 bits of `bits` to a signed value, two's complement.
std::int32_t ToSigned32(std::uint32_t bits) {
    if (bits <= 0x7FFFFFFFu) return static_cast<std::int32_t>(bits);
    return -static_cast<std::int32_t>(~bits) - 1;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

MarkupNode::MarkupNode()
    : Parent(nullptr),
      Next(nullptr),
      Prev(nullptr),
      FirstChild(nullptr),
      ChildCount(0),
      Kind(kNodeDocument),
      Attributes(nullptr),
      AttributeCount(0),
      AttributeCapacity(0),
      HeapEnv(nullptr),
      Block(nullptr) {
    for (int i = 0; i < kNameSize; ++i) Name[i] = '\0';
}

// A node owns its attribute strings; its children and siblings are released
// by Destroy, never by the destructor, so that destruction stays iterative.
MarkupNode::~MarkupNode() {
    // Attributes are only ever appended, so strings stand in the first
    // AttributeCount entries only.
    int count = AttributeCount < 0 ? 0 : (AttributeCount > AttributeCapacity ? AttributeCapacity : AttributeCount);
    if (HeapEnv == nullptr || Attributes == nullptr) count = 0;  // a node that never held strings
    for (int i = 0; i < count; ++i) {
        ReleaseString(this, Attributes[i].Name);
        ReleaseString(this, Attributes[i].Value);
        Attributes[i].Name = nullptr;
        Attributes[i].Value = nullptr;
    }
    if (HeapEnv != nullptr && OwnsAttributeArray(this)) HeapEnv->Release(Attributes);
    Attributes = nullptr;
    AttributeCount = 0;
    AttributeCapacity = 0;
}

MarkupNode* MarkupNode::CreateNode(int kind, MarkupNode* parent, MarkupNode* after) {
    MarkupNode* node = NewMarkupNode(HeapEnv);
    if (node == nullptr) return nullptr;
    node->Kind = kind;
    if (parent != nullptr) {
        node->Next = parent->FirstChild;
        if (parent->FirstChild != nullptr) parent->FirstChild->Prev = node;
        node->Parent = parent;
        parent->FirstChild = node;
        parent->ChildCount += 1;
        parent->Kind = kNodeContainer;
    } else if (after != nullptr) {
        InsertAfter(after, node);
    }
    return node;
}

bool MarkupNode::OnCreate() { return true; }

MarkupNode* MarkupNode::GetParent() { return Parent; }

MarkupNode* MarkupNode::GetNext() { return Next; }

MarkupNode* MarkupNode::GetPrev() { return Prev; }

MarkupNode* MarkupNode::GetFirstChild() { return FirstChild; }

MarkupNode* MarkupNode::GetPrevInOrder() {
    if (Prev == nullptr) return Parent;
    if (Prev->FirstChild != nullptr) return Prev->FirstChild->GetLastInOrder();
    return Prev;
}

MarkupNode* MarkupNode::GetNextInOrder() {
    if (FirstChild != nullptr) return FirstChild;
    for (MarkupNode* node = this; node != nullptr; node = node->Parent) {
        if (node->Next != nullptr) return node->Next;
    }
    return nullptr;
}

MarkupNode* MarkupNode::GetFirstSibling() {
    MarkupNode* node = this;
    while (node->Prev != nullptr) node = node->Prev;
    return node;
}

MarkupNode* MarkupNode::GetLastInOrder() {
    MarkupNode* node = this;
    for (;;) {
        if (node->Next != nullptr) {
            node = node->Next;
        } else if (node->FirstChild != nullptr) {
            node = node->FirstChild;
        } else {
            return node;
        }
    }
}

MarkupNode* NewMarkupNode(platform::Env* env) {
    if (env == nullptr) return nullptr;
    // The node and its room for 32 attributes in one block; DeleteZeroed
    // releases both.
    void* memory = env->AllocZeroed(sizeof(MarkupNode) + sizeof(MarkupAttribute) * kMaxAttributes);
    if (memory == nullptr) return nullptr;
    MarkupNode* node = new (memory) MarkupNode();
    node->HeapEnv = env;
    node->Attributes = InlineAttributes(node);
    node->AttributeCapacity = kMaxAttributes;
    return node;
}

void InsertAfter(MarkupNode* anchor, MarkupNode* node) {
    if (anchor == nullptr || node == nullptr) return;
    node->Prev = anchor;
    node->Next = anchor->Next;
    if (anchor->Next != nullptr) anchor->Next->Prev = node;
    node->Parent = anchor->Parent;
    anchor->Next = node;
    if (anchor->Parent != nullptr) anchor->Parent->ChildCount += 1;
}

void Destroy(MarkupNode* node) {
    if (node == nullptr) return;
    // A document node takes its whole chain along: that is the same as
    // destroying the chain from the node on.
    if (node->Kind == kNodeDocument && node->Next != nullptr) {
        DestroyChain(node);
        return;
    }
    MarkupNode* parent = node->Parent;
    if (parent != nullptr) {
        parent->ChildCount -= 1;
        if (parent->FirstChild == node) parent->FirstChild = node->Next;
    }
    if (node->Next != nullptr) node->Next->Prev = node->Prev;
    if (node->Prev != nullptr) node->Prev->Next = node->Next;
    node->Next = nullptr;
    ReleaseTree(node);
}

void DestroyChain(MarkupNode* node) {
    if (node == nullptr) return;
    // The node and its later siblings leave the chain together: the chain
    // ends at the node's predecessor and the parent loses one child for each.
    MarkupNode* parent = node->Parent;
    if (parent != nullptr) {
        std::int32_t count = 0;
        for (MarkupNode* n = node; n != nullptr; n = n->Next) ++count;
        parent->ChildCount -= count;
        if (parent->FirstChild == node) parent->FirstChild = nullptr;
    }
    if (node->Prev != nullptr) node->Prev->Next = nullptr;
    ReleaseTree(node);
}

void RemoveNode(MarkupNode* node) {
    if (node == nullptr) return;
    MarkupNode* next = node->Next;
    MarkupNode* prev = node->Prev;
    MarkupNode* parent = node->Parent;
    node->Next = nullptr;
    node->Prev = nullptr;
    node->Parent = nullptr;
    if (prev != nullptr) prev->Next = next;
    if (next != nullptr) next->Prev = prev;
    if (parent != nullptr) {
        if (parent->FirstChild == node) parent->FirstChild = next;
        parent->ChildCount -= 1;
    }
    Destroy(node);
}

NodeKind GetKind(const MarkupNode* node) { return static_cast<NodeKind>(node->Kind); }

const char* GetName(const MarkupNode* node) {
    if (node == nullptr || node->Name[0] == '\0') return nullptr;
    return node->Name;
}

const char* GetAttribute(const MarkupNode* node, const char* name) {
    int index = FindAttribute(node, name);
    return index < 0 ? nullptr : node->Attributes[index].Value;
}

bool GetIntAttribute(const MarkupNode* node, const char* name, std::int32_t* value) {
    int index = FindAttribute(node, name);
    if (index < 0) return false;
    std::int32_t number = 0;
    if (!ParseNumber(node->Attributes[index].Value, &number)) {
        if (value != nullptr) *value = 0;
        return false;
    }
    if (value != nullptr) *value = number;
    return true;
}

bool SetAttribute(MarkupNode* node, const char* name, const char* value) {
    if (node == nullptr || node->AttributeCount >= kMaxAttributes || node->AttributeCount < 0) return false;
    // Both copies are made before anything changes, so that running out of
    // memory leaves the node as it was.
    platform::Env* env = node->HeapEnv;
    char* nameCopy = CopyString(env, name);
    char* valueCopy = CopyString(env, value);
    if (nameCopy == nullptr || valueCopy == nullptr) {
        env->Release(nameCopy);
        env->Release(valueCopy);
        return false;
    }
    int index = FindAttribute(node, name != nullptr ? name : "");
    if (index < 0 && node->AttributeCount >= node->AttributeCapacity) {
        // A parsed node full to its exact room: its attributes move to an
        // array of 32 on the heap.
        MarkupAttribute* array =
            static_cast<MarkupAttribute*>(env->AllocZeroed(sizeof(MarkupAttribute) * kMaxAttributes));
        if (array == nullptr) {
            env->Release(nameCopy);
            env->Release(valueCopy);
            return false;
        }
        for (int i = 0; i < node->AttributeCount; ++i) array[i] = node->Attributes[i];
        if (OwnsAttributeArray(node)) env->Release(node->Attributes);
        node->Attributes = array;
        node->AttributeCapacity = kMaxAttributes;
    }
    if (index >= 0) {
        ReleaseString(node, node->Attributes[index].Name);
        ReleaseString(node, node->Attributes[index].Value);
    } else {
        index = node->AttributeCount;
        node->AttributeCount += 1;
    }
    node->Attributes[index].Name = nameCopy;
    node->Attributes[index].Value = valueCopy;
    return true;
}

bool ReserveAttributes(MarkupNode* node, int count) {
    if (node == nullptr || count < 0 || count > kMaxAttributes) return false;
    if (count <= node->AttributeCapacity) return true;
    platform::Env* env = node->HeapEnv;
    MarkupAttribute* array =
        static_cast<MarkupAttribute*>(env->AllocZeroed(sizeof(MarkupAttribute) * kMaxAttributes));
    if (array == nullptr) return false;
    for (int i = 0; i < node->AttributeCount; ++i) array[i] = node->Attributes[i];
    if (OwnsAttributeArray(node)) env->Release(node->Attributes);
    node->Attributes = array;
    node->AttributeCapacity = kMaxAttributes;
    return true;
}

bool PutAttribute(MarkupNode* node, int index, char* name, char* value) {
    if (node == nullptr || index < 0 || index > node->AttributeCount || index >= node->AttributeCapacity) {
        return false;
    }
    if (index < node->AttributeCount) {
        ReleaseString(node, node->Attributes[index].Name);
        ReleaseString(node, node->Attributes[index].Value);
    } else {
        node->AttributeCount += 1;
    }
    node->Attributes[index].Name = name;
    node->Attributes[index].Value = value;
    return true;
}

bool RemoveAttribute(MarkupNode* node, int index) {
    if (node == nullptr || index < 0 || index >= node->AttributeCount) return false;
    ReleaseString(node, node->Attributes[index].Name);
    ReleaseString(node, node->Attributes[index].Value);
    for (int i = index + 1; i < node->AttributeCount; ++i) node->Attributes[i - 1] = node->Attributes[i];
    node->AttributeCount -= 1;
    node->Attributes[node->AttributeCount] = MarkupAttribute{nullptr, nullptr};
    return true;
}

bool SetIntAttribute(MarkupNode* node, const char* name, std::int32_t value) {
    char text[20];
    FormatInt(value, text);
    return SetAttribute(node, name, text);
}

bool ParseNumber(const char* text, std::int32_t* value) {
    if (text == nullptr || text[0] == '\0') return false;
    bool hex = false;
    bool negative = false;
    const char* digits = text;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = true;
        digits = text + 2;
    } else if (text[0] == '#' || text[0] == '$') {
        hex = true;
        digits = text + 1;
    } else if (text[0] == '-') {
        negative = true;
        digits = text + 1;
    }
    // Unsigned arithmetic wraps, which is exactly "modulo 2^32".
    std::uint32_t bits = 0;
    for (const char* p = digits; *p != '\0'; ++p) {
        if (hex) {
            int digit = HexDigit(*p);
            if (digit < 0) return false;
            bits = bits * 16u + static_cast<std::uint32_t>(digit);
        } else {
            if (*p < '0' || *p > '9') return false;
            bits = bits * 10u + static_cast<std::uint32_t>(*p - '0');
        }
    }
    if (negative) bits = 0u - bits;
    if (value != nullptr) *value = ToSigned32(bits);
    return true;
}

void ReleaseDocument(MarkupNode** holder) {
    if (holder == nullptr || *holder == nullptr) return;
    Destroy(*holder);
    *holder = nullptr;
}

}  // namespace markup
}  // namespace tarnwick
