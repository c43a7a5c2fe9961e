#include "host_process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace wt::test {

namespace {

std::string Slurp(const std::string& fileName) {
    std::ifstream in(fileName);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

HostProcess::HostProcess(std::vector<std::string> arguments,
                         std::map<std::string, std::string> environment, std::string outputDir)
    : arguments_(std::move(arguments)), environment_(std::move(environment)),
      outputDir_(std::move(outputDir)) {}

HostProcess::~HostProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool HostProcess::Start() {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        if (!environment_.count(name))
            variables.push_back(variable);
    }
    for (const auto& [name, value] : environment_)
        if (!value.empty())
            variables.push_back(name + "=" + value);
    std::vector<char*> argv, envp;
    for (std::string& argument : arguments_)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    const std::string out = outputDir_ + "/host.out";
    const std::string err = outputDir_ + "/host.err";
    pid_ = fork();
    if (pid_ < 0)
        return false;
    if (pid_ == 0) {
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(outFd, 1);
        dup2(errFd, 2);
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, 0);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return true;
}

void HostProcess::Terminate() {
    if (pid_ > 0)
        kill(pid_, SIGTERM);
}

HostRun HostProcess::Wait(int timeoutMs) {
    HostRun run;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    while (pid_ > 0) {
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            if (WIFEXITED(status))
                run.ExitCode = WEXITSTATUS(status);
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
            run.TimedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    run.Out = Slurp(outputDir_ + "/host.out");
    run.Err = Slurp(outputDir_ + "/host.err");
    return run;
}

HostRun RunHost(const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& environment, const std::string& outputDir,
                int timeoutMs) {
    HostProcess process(arguments, environment, outputDir);
    if (!process.Start())
        return {};
    return process.Wait(timeoutMs);
}

} // namespace wt::test
