// The layer's lists of records (contexts, drawables): doubly linked through
// `prev` and `next`, headed by a static sentinel record whose `next` is the
// first record. Callers hold the global lock.
#pragma once

template <typename Record>
void __wglListAddHead(Record *sentinel, Record *record) {
  record->prev = sentinel;
  record->next = sentinel->next;
  if (record->next) record->next->prev = record;
  sentinel->next = record;
}

template <typename Record>
void __wglListRemove(Record *record) {
  if (record->prev) record->prev->next = record->next;
  if (record->next) record->next->prev = record->prev;
  record->prev = nullptr;
  record->next = nullptr;
}
