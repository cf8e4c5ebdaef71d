#include "platform/env_wrapper.h"

namespace tarnwick {
namespace platform {

EnvWrapper::~EnvWrapper() = default;

void* EnvWrapper::AllocZeroed(std::size_t size) { return target_->AllocZeroed(size); }
void* EnvWrapper::Alloc(std::size_t size) { return target_->Alloc(size); }
void EnvWrapper::Release(void* block) { target_->Release(block); }

Status EnvWrapper::OpenForRead(const char* path, File** file) { return target_->OpenForRead(path, file); }
bool EnvWrapper::GetFileTime(File* file, FileTime* time) { return target_->GetFileTime(file, time); }
bool EnvWrapper::GetFileSize(File* file, std::uint64_t* size) { return target_->GetFileSize(file, size); }
bool EnvWrapper::GetFileIdentity(File* file, std::uint64_t* identity) {
    return target_->GetFileIdentity(file, identity);
}
bool EnvWrapper::ReadFile(File* file, void* buffer, std::uint32_t size, std::uint32_t* read) {
    return target_->ReadFile(file, buffer, size, read);
}
void EnvWrapper::CloseFile(File* file) { target_->CloseFile(file); }
bool EnvWrapper::NamesOneFile(const char* path) { return target_->NamesOneFile(path); }
Status EnvWrapper::ProbePath(const char* path) { return target_->ProbePath(path); }

bool EnvWrapper::ResolveReplaceTarget(const char* path, char* buffer, std::size_t size) {
    return target_->ResolveReplaceTarget(path, buffer, size);
}
Status EnvWrapper::CreateNewFile(const char* path, WritableFile** file) { return target_->CreateNewFile(path, file); }
bool EnvWrapper::WriteFile(WritableFile* file, const void* data, std::uint32_t size, std::uint32_t* written) {
    return target_->WriteFile(file, data, size, written);
}
bool EnvWrapper::FlushFile(WritableFile* file) { return target_->FlushFile(file); }
bool EnvWrapper::CloseWritable(WritableFile* file) { return target_->CloseWritable(file); }
Status EnvWrapper::RenameOver(const char* source, const char* target) { return target_->RenameOver(source, target); }
bool EnvWrapper::RemoveFile(const char* path) { return target_->RemoveFile(path); }
bool EnvWrapper::ListFiles(const char* pathPrefix, const char* suffix,
                           void (*visit)(const char* path, const FileTime& written, void* context), void* context) {
    return target_->ListFiles(pathPrefix, suffix, visit, context);
}
Status EnvWrapper::TryLockFile(const char* path, LockFile** lock) { return target_->TryLockFile(path, lock); }
void EnvWrapper::UnlockFile(LockFile* lock) { target_->UnlockFile(lock); }

RegistryKey* EnvWrapper::RegistryOpenForRead(const char* path) { return target_->RegistryOpenForRead(path); }
RegistryKey* EnvWrapper::RegistryCreateForWrite(const char* path) { return target_->RegistryCreateForWrite(path); }
void EnvWrapper::RegistryClose(RegistryKey* key) { target_->RegistryClose(key); }
bool EnvWrapper::RegistryQueryValue(RegistryKey* key, const char* name, void* buffer, std::uint32_t* size) {
    return target_->RegistryQueryValue(key, name, buffer, size);
}
bool EnvWrapper::RegistrySetString(RegistryKey* key, const char* name, const char* text) {
    return target_->RegistrySetString(key, name, text);
}

void EnvWrapper::SleepMilliseconds(unsigned milliseconds) { target_->SleepMilliseconds(milliseconds); }
std::uint32_t EnvWrapper::ProcessId() { return target_->ProcessId(); }
bool EnvWrapper::ProcessRunning(std::uint32_t processId) { return target_->ProcessRunning(processId); }
FileTime EnvWrapper::CurrentTime() { return target_->CurrentTime(); }
std::uint32_t EnvWrapper::NextTempNumber() { return target_->NextTempNumber(); }

}  // namespace platform
}  // namespace tarnwick
