#pragma once

class QString;

// The last configuration lives in the temporary directory, which other local users may share:
// a name planted there must neither make the program write through it nor feed it a
// configuration, nor block its start (a FIFO). Only a regular file owned by the user is read
// or replaced; a symbolic link is removed and replaced, never followed. A refused file counts
// as a missing one, and the refusal is traced.
namespace LastConfigurationFile {

// True when path is a regular file, not a link, owned by the user running the program.
bool isSafeToRead(const QString& path);
// Makes path ready for an atomic save: true when nothing is there, when it is the user's own
// regular file, or when it was a symbolic link that could be removed.
bool prepareForWrite(const QString& path);

} // namespace LastConfigurationFile
