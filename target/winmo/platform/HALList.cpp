#include "HALList.h"

#include <new>

#include "VMServices.h"

HALList::~HALList() { clear(); }

HALListNode* HALList::newNode(void* value, HALListNode* next, HALListNode* prev) {
  return new (_VM_operatorNew(sizeof(HALListNode))) HALListNode{value, next, prev};
}

// The node is made before the list is read: making it may run a collection
// and let other threads change the list.
void HALList::addFirst(void* value) {
  if (!value) return;
  HALListNode* node = newNode(value, nullptr, nullptr);
  node->next = head_;
  if (head_) {
    head_->prev = node;
  } else {
    tail_ = node;
  }
  head_ = node;
}

void HALList::addLast(void* value) {
  if (!value) return;
  HALListNode* node = newNode(value, nullptr, nullptr);
  node->prev = tail_;
  if (tail_) {
    tail_->next = node;
  } else {
    head_ = node;
  }
  tail_ = node;
}

void HALList::remove(void* value) {
  for (HALListNode* node = head_; node; node = node->next) {
    if (node->value == value) {
      removeNode(node);
      return;
    }
  }
}

void HALList::removeNode(HALListNode* node) {
  if (!node) return;
  if (node->prev) {
    node->prev->next = node->next;
  } else {
    head_ = node->next;
  }
  if (node->next) {
    node->next->prev = node->prev;
  } else {
    tail_ = node->prev;
  }
  _VM_free(node);
}

void HALList::clear() {
  HALListNode* node = head_;
  head_ = tail_ = nullptr;
  while (node) {
    HALListNode* next = node->next;
    _VM_free(node);
    node = next;
  }
}
