#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace dadaz::testing {

// A small web server on a free local port, serving the files under a folder, plus paths that
// misbehave: "/never..." never answers, "/redirect?to=URL" redirects, "/stream/N" sends N
// bytes without announcing a length.
class LocalServer {
  public:
    explicit LocalServer(const std::string& root) {
        static const char* const kScript = R"(
import http.server, sys, time, urllib.parse
root = sys.argv[1]
class Handler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=root, **kwargs)
    def log_message(self, *args):
        pass
    def do_GET(self):
        url = urllib.parse.urlparse(self.path)
        if url.path.startswith('/never'):
            time.sleep(3600)
        elif url.path == '/redirect':
            self.send_response(302)
            self.send_header('Location', urllib.parse.parse_qs(url.query)['to'][0])
            self.end_headers()
        elif url.path.startswith('/stream/'):
            self.send_response(200)
            self.end_headers()
            self.wfile.write(b'x' * int(url.path.split('/')[2]))
        else:
            super().do_GET()
server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
server.daemon_threads = True
print(server.server_address[1], flush=True)
server.serve_forever()
)";
        int out[2];
        if (pipe(out) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execlp("python3", "python3", "-c", kScript, root.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        std::FILE* reader = fdopen(out[0], "r");
        if (!reader || std::fscanf(reader, "%d", &port_) != 1)
            throw std::runtime_error("the local web server did not start (python3 missing?)");
        std::fclose(reader);
    }
    ~LocalServer() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

  private:
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace dadaz::testing
