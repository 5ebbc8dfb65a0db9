#pragma once

// A node of a HALList.
struct HALListNode {
  void* value;
  HALListNode* next;
  HALListNode* prev;
};

// Doubly linked list of one-word values (never null), the registry list of
// the runtime and the platform layer. Nodes come from the runtime allocator,
// so adding may throw OutOfMemoryError. The list does not own its values.
// Not synchronised: the owner serialises access.
class HALList {
 public:
  HALList() = default;
  // Frees every node.
  ~HALList();
  HALList(const HALList&) = delete;
  HALList& operator=(const HALList&) = delete;

  // Adds `value` in front; a null value is ignored.
  void addFirst(void* value);
  // Adds `value` at the end; a null value is ignored.
  void addLast(void* value);
  // Removes the first node that holds `value`; nothing when there is none.
  void remove(void* value);
  // Unlinks and frees `node`, which must belong to this list; null is ignored.
  void removeNode(HALListNode* node);

  // The first node, or null when the list is empty.
  HALListNode* getFirst() const { return head_; }
  // The node after `node`; null for the last node and for null.
  HALListNode* getNext(const HALListNode* node) const { return node ? node->next : nullptr; }
  // The value of `node`; null for null.
  void* getValue(const HALListNode* node) const { return node ? node->value : nullptr; }

  // Frees every node; the values are untouched.
  void clear();

 private:
  HALListNode* newNode(void* value, HALListNode* next, HALListNode* prev);

  HALListNode* head_ = nullptr;
  HALListNode* tail_ = nullptr;
};
