#pragma once

#include <QString>

// Whole writes to files, as the log and the queue's snapshots need them. A file that is created is
// readable and writable by everyone the system's file-creation mask allows: every desktop user's agent
// appends to the same log.
namespace FileWrites {

// Adds the bytes at the end of the file, creating it when missing, in one write: what another program
// appends meanwhile lands before or after them, never inside. False when the file cannot be opened or
// takes no more (disk full); what was written stays written.
bool appendAtomically(const QString& path, QByteArrayView bytes);

// Makes the bytes the file's whole content, creating it when missing. What was longer in the file is cut
// after them, rather than the file emptied first: ext4 flushes a file emptied and written again to the
// disk when it is closed, which takes milliseconds. False when it could not.
bool replaceContent(const QString& path, QByteArrayView bytes);

// Gives the file the other name, replacing a file of that name. False when it could not (no such file).
bool rename(const QString& from, const QString& to);

} // namespace FileWrites
