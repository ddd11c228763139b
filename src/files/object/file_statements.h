// The file statements as small typed calls. Each turns its arguments into an
// operation code and an argument list and hands them to Dispatch(); errors
// are posted by the driver and read with dove::err::Code() afterwards.
//
//   Open(file, 0x42);       // read/write, deny none
//   Set(file);
//   while (Next(file), err::Code() == 0) ...
//   Append(file);
//   Close(file);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/object/file_object.h"

namespace dove::files {

void Open(FileObject* file, int32_t accessMode);
void Share(FileObject* file, int32_t accessMode);
void Create(FileObject* file);
void Close(FileObject* file);
void Destroy(FileObject* file, int32_t arg);

void Set(FileObject* file);                          // SET(file): from the start
void SetFromPosition(FileObject* file, int32_t pointer);
void Reset(FileObject* file, std::string_view position);
void Next(FileObject* file);
void Previous(FileObject* file);
void Get(FileObject* file, int32_t pointer);
void Get(FileObject* file, int32_t pointer, int32_t length);
void Reget(FileObject* file, std::string_view position);

void Add(FileObject* file);
void Add(FileObject* file, int32_t length);
void Append(FileObject* file);
void Append(FileObject* file, int32_t length);
void Put(FileObject* file);
void Put(FileObject* file, int32_t pointer);
void Put(FileObject* file, int32_t pointer, int32_t length);

int32_t Pointer(FileObject* file);
std::string Position(FileObject* file);   // 4 bytes; empty when refused
int32_t Bytes(FileObject* file);
bool Eof(FileObject* file);
std::string Name(FileObject* file);

void Empty(FileObject* file);
void Flush(FileObject* file);
void Remove(FileObject* file);
void Rename(FileObject* file, std::string_view newName);
void Copy(FileObject* file, std::string_view newName);

void Lock(FileObject* file);
void Lock(FileObject* file, int32_t seconds);
void Unlock(FileObject* file);

// SEND: the driver's reply to the option or command.
std::string Send(FileObject* file, std::string_view command);

void ClearBuffer(FileObject* file);   // CLEAR(file)

// Snapshots of open mode, position and record; 0 when none could be made.
int32_t GetState(FileObject* file);
void RestoreState(FileObject* file, int32_t state);
void FreeState(FileObject* file, int32_t state);

void StartTransaction(FileObject* file, int32_t arg);
void EndTransaction(FileObject* file, int32_t arg);
void Rollback(FileObject* file);
void Commit(FileObject* file);
void Watch(FileObject* file);
void Stream(FileObject* file);
void BuildEvent(FileObject* file);
void Hold(FileObject* file);
void Hold(FileObject* file, int32_t seconds);

// Key forms: the key's file receives the statement, with the key.
void SetFromKey(FileObject* file, KeyObject* key);
void SetKey(KeyObject* key);
// SET(key, key): from the key's values in the record.
void SetKeyFromKey(KeyObject* key);
void SetKeyFromPosition(KeyObject* key, int32_t pointer);
void SetKeyFromKeyAndPosition(KeyObject* key, int32_t pointer);
void ResetKey(KeyObject* key, std::string_view position);

}  // namespace dove::files
