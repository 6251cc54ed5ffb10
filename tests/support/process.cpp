#include "process.hpp"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

namespace venk::test {

namespace {

// In the child: becomes `user`, in its own group and no others.
bool switch_user(unsigned user) {
    return setgroups(0, nullptr) == 0 && setgid(static_cast<gid_t>(user)) == 0 && setuid(static_cast<uid_t>(user)) == 0;
}

// This process's environment with `directory` put first in PATH.
std::vector<std::string> environment_searching_first(const std::filesystem::path& directory) {
    std::vector<std::string> environment;
    std::string path = "PATH=" + directory.string();
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        if (entry.starts_with("PATH=")) {
            path += ":" + entry.substr(5);
        } else {
            environment.push_back(entry);
        }
    }
    environment.push_back(path);
    return environment;
}

std::vector<char*> pointers_to(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& string : strings) {
        pointers.push_back(string.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

int start_process(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  const std::filesystem::path& directory, const std::filesystem::path& capture_directory,
                  const Launch& launch) {
    const std::filesystem::path out_path = launch.standard_output.value_or(capture_directory / "stdout.txt");
    const std::filesystem::path err_path = capture_directory / "stderr.txt";
    // Everything the child needs is prepared here: after fork() it may not
    // allocate, since another thread may have held the allocator's lock.
    std::vector<std::string> command = arguments;
    std::filesystem::path executable = program;
    std::vector<std::string> environment;
    if (!launch.wrapper.empty()) {
        command = launch.wrapper;
        command.push_back(program.filename().string());
        command.insert(command.end(), arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end());
        executable = launch.wrapper.front();
        environment = environment_searching_first(program.parent_path());
    }
    if (launch.standard_output) {
        std::filesystem::remove(capture_directory / "stdout.txt");  // no output captured: none left from before
    }
    const std::vector<char*> argv = pointers_to(command);
    const std::vector<char*> envp = pointers_to(environment);
    char* const* child_environment = launch.wrapper.empty() ? environ : envp.data();

    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(directory.c_str()) != 0) {
            _exit(127);
        }
        if (launch.standard_input) {
            const int in = open(launch.standard_input->c_str(), O_RDONLY);
            if (in < 0 || dup2(in, 0) < 0) {
                _exit(127);
            }
        }
        for (const auto& [number, descriptor] : launch.descriptors) {
            // dup2 onto itself would keep the close-on-exec flag.
            if ((number == descriptor ? fcntl(number, F_SETFD, 0) : dup2(descriptor, number)) < 0) {
                _exit(127);
            }
        }
        if (launch.user && !switch_user(*launch.user)) {
            _exit(127);
        }
        // Whatever this process inherited (a background job ignores SIGINT),
        // the program starts with the default action for signals it is sent.
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            std::signal(signal, SIG_DFL);
        }
        if (launch.ignored_signal != 0) {
            std::signal(launch.ignored_signal, SIG_IGN);
        }
        if (launch.file_size_limit) {
            const rlimit limit = {*launch.file_size_limit, *launch.file_size_limit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (launch.descriptor_limit) {
            const rlimit limit = {*launch.descriptor_limit, *launch.descriptor_limit};
            setrlimit(RLIMIT_NOFILE, &limit);
        }
        if (launch.memory_limit) {
            const rlimit limit = {*launch.memory_limit, *launch.memory_limit};
            setrlimit(RLIMIT_AS, &limit);
        }
        execve(executable.c_str(), argv.data(), child_environment);
        _exit(127);
    }
    return child;
}

ProcessResult finish_process(int process, const std::filesystem::path& capture_directory) {
    int status = 0;
    waitpid(process, &status, 0);
    ProcessResult result;
    result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.out = read_file(capture_directory / "stdout.txt");
    result.err = read_file(capture_directory / "stderr.txt");
    return result;
}

ProcessResult run_process(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                          const std::filesystem::path& directory, const std::filesystem::path& capture_directory,
                          const Launch& launch) {
    return finish_process(start_process(program, arguments, directory, capture_directory, launch),
                          capture_directory);
}

}  // namespace venk::test
