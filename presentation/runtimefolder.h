// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class QTemporaryDir;

// The session's runtime folder (XDG_RUNTIME_DIR) for a process that has none, as under a root shell
// or a CI job: a QGuiApplication looks there as it starts (whether it runs in a sandbox), and without
// one Qt warns on every start and makes /tmp/runtime-USER. A private folder stands in while the
// object lives; make it before the application and let it outlive it.
class RuntimeFolder {
public:
    RuntimeFolder();
    ~RuntimeFolder();
    RuntimeFolder(const RuntimeFolder &) = delete;
    RuntimeFolder &operator=(const RuntimeFolder &) = delete;

private:
    std::unique_ptr<QTemporaryDir> m_folder; // none when the session has its own
};
