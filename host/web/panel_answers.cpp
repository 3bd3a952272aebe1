#include "web/panel_answers.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace web {
namespace {

const char* ContentType(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    if (extension == ".html") return "text/html";
    if (extension == ".js") return "text/javascript";
    if (extension == ".css") return "text/css";
    if (extension == ".png") return "image/png";
    return "application/octet-stream";
}

// A file of the page folder; a path that would leave it, or names nothing, is not found.
Answer PageFile(const std::string& pageFolder, const std::string& path) {
    const std::filesystem::path relative = std::filesystem::path(path == "/" ? "/index.html" : path).relative_path();
    const Answer missing{404, "application/json", JsonError("nothing at " + path)};
    for (const auto& part : relative)
        if (part == ".." || part == ".") return missing;
    const std::filesystem::path file = std::filesystem::path(pageFolder) / relative;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return missing;
    std::ifstream in(file, std::ios::binary);
    std::ostringstream body;
    body << in.rdbuf();
    if (!in) return {500, "application/json", JsonError("cannot read " + path)};
    return {200, ContentType(file), body.str()};
}

}  // namespace

std::string AnswerRequest(const RequestFrame& request, const std::string& pageFolder, const ApiAnswerer& api,
                          bool& close) {
    close = request.closeAfter;
    // HEAD is answered as GET, without the body.
    const bool head = request.method == "HEAD";
    const std::string method = head ? "GET" : request.method;
    Answer answer;
    if (request.path.starts_with("/api/"))
        answer = api({method, request.path, request.params});
    else if (method == "GET")
        answer = PageFile(pageFolder, request.path);
    else
        answer = {405, "application/json", JsonError(method + " is not answered at " + request.path)};
    return Response(answer, close, head);
}

}  // namespace web
