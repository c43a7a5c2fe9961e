#include "runner/guardian.h"

#include "host/host_paths.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <unistd.h>

namespace wt {

QStringList GuardianCandidates(const QString& executableDir) {
    QStringList candidates{executableDir + QStringLiteral("/wingtucker-guard")};
    for (const QString& addIn : DefaultAddInCandidates(executableDir))
        candidates.append(QFileInfo(addIn).path() + QStringLiteral("/wingtucker-guard"));
    candidates.removeDuplicates();
    return candidates;
}

Guardian::~Guardian() {
    // A clean end: the guardian finds nothing of ours left to put back.
    if (pipe_ >= 0)
        ::close(pipe_);
}

bool Guardian::Start(const QStringList& candidates, QString* error) {
    QString program;
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isExecutable()) {
            program = candidate;
            break;
        }
    if (program.isEmpty()) {
        *error = QStringLiteral("wingtucker-guard was not found (looked for %1)")
                     .arg(candidates.join(QStringLiteral(", ")));
        return false;
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        *error = QStringLiteral("no pipe for the guardian: %1").arg(std::strerror(errno));
        return false;
    }
    const std::string path = program.toStdString();
    const std::string runner = std::to_string(::getpid());
    const pid_t pid = ::fork();
    if (pid < 0) {
        *error = QStringLiteral("the guardian cannot be started: %1").arg(std::strerror(errno));
        ::close(ends[0]);
        ::close(ends[1]);
        return false;
    }
    if (pid == 0) {
        // Only async-signal-safe calls until exec: the reading end becomes
        // standard input, the runner's end closes with exec.
        ::dup2(ends[0], STDIN_FILENO);
        ::execl(path.c_str(), path.c_str(), runner.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ends[0]);
    pipe_ = ends[1];
    pid_ = pid;
    return true;
}

} // namespace wt
