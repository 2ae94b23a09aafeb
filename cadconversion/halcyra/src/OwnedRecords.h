// How the part objects hand records to their lists and take them back: a
// list holds pointers only, so its owner deletes what it took in.
#pragma once

#include "halcyra/ListTmplt.h"

#include <memory>

// Appends at the tail; the record is deleted again when the node cannot be
// made, so nothing leaks.
template <class T>
void appendRecord(CListTmplt<T>& list, std::unique_ptr<T> record)
{
    list.InsertTail(record.get());
    record.release();
}

// Takes every record off the head and deletes it.
template <class T>
void deleteRecords(CListTmplt<T>& list)
{
    while (T* record = list.RemoveHead())
        delete record;
}
