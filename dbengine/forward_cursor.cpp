#include "dbengine/forward_cursor.h"

#include <string>

#include "dbengine/errors.h"

namespace dbengine {

ForwardCursor::ForwardCursor(std::unique_ptr<RecordReader> reader) : FReader(std::move(reader)) {
  Restart();
}

void ForwardCursor::Refuse(const char* operation) {
  throw EDatabaseError(std::string(operation) + " is not possible on a forward-only dataset");
}

void ForwardCursor::Restart() {
  FReader->Restart();
  FHasRow = FReader->Read(FRow);
  if (!FHasRow) FReader->Restart();  // no rows: nothing to hold the read lock for
  FRecNo = FHasRow ? 1 : 0;
  FBof = true;
  FEof = !FHasRow;
}

bool ForwardCursor::First() {
  if (FRecNo <= 1 && !FEof) {
    FBof = true;
    return false;
  }
  Restart();
  return true;
}

bool ForwardCursor::Last() {
  Refuse("Moving to the last record");
}

bool ForwardCursor::SetRecNo(int) {
  Refuse("Moving to a record number");
}

bool ForwardCursor::GotoBookmark(const TBookmark&) {
  Refuse("A bookmark");
}

TBookmark ForwardCursor::Bookmark() {
  Refuse("A bookmark");
}

int ForwardCursor::MoveBy(int distance) {
  if (distance < 0) Refuse("Moving backwards");
  int moved = 0;
  Record next;
  while (moved < distance && !FEof) {
    if (!FReader->Read(next)) {
      // Done: the statement lets go of the file's read lock at once, not at the next First.
      FReader->Restart();
      FEof = true;
      break;
    }
    FRow = std::move(next);
    ++FRecNo;
    ++moved;
  }
  if (!FHasRow) {
    FBof = FEof = true;
  } else if (distance != 0) {
    FEof = moved < distance;
    FBof = false;
  }
  return moved;
}

const RowBuffer& ForwardCursor::Row(int) {
  return FRow.Values;
}

}  // namespace dbengine
