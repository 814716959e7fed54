#include "support/page_file.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace quorin::test {

namespace {

struct Token {
    std::string name;
    std::wstring value;
};

bool fail(std::string* error, size_t line, const std::string& message) {
    if (error) *error = "line " + std::to_string(line) + ": " + message;
    return false;
}

// Splits one record into its keyword and tokens.
bool tokenize(const std::string& line, std::string& keyword, std::vector<Token>& tokens, std::string& problem) {
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    };
    auto word = [&] {
        const size_t from = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '=') ++i;
        return line.substr(from, i - from);
    };
    skipBlanks();
    keyword = word();
    for (skipBlanks(); i < line.size(); skipBlanks()) {
        Token token{word(), {}};
        if (token.name.empty()) {
            problem = "a token has no name";
            return false;
        }
        if (i < line.size() && line[i] == '=') {
            if (++i >= line.size() || line[i] != '"') {
                problem = "value of " + token.name + " is not quoted";
                return false;
            }
            std::string value;
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] != '\\' || i + 1 >= line.size()) {
                    value += line[i];
                    continue;
                }
                const char c = line[++i];
                value += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
            }
            if (i >= line.size()) {
                problem = "value of " + token.name + " has no closing quote";
                return false;
            }
            ++i;
            token.value = fromUtf8(value);
        }
        tokens.push_back(std::move(token));
    }
    return true;
}

const Token* find(const std::vector<Token>& tokens, const char* name) {
    for (const auto& token : tokens)
        if (token.name == name) return &token;
    return nullptr;
}

OptText optional(const std::vector<Token>& tokens, const char* name) {
    const Token* token = find(tokens, name);
    return token ? OptText(token->value) : std::nullopt;
}

// The last element of the tag that comes before element.
ElementDouble* lastBefore(const DocumentDouble& document, const ElementDouble& element, const std::wstring& tag) {
    ElementDouble* found = nullptr;
    for (ElementDouble* candidate : document.elementsByTag(tag)) {
        if (candidate == &element) break;
        found = candidate;
    }
    return found;
}

}  // namespace

std::wstring fromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string toUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size, nullptr,
                        nullptr);
    return narrow;
}

std::unique_ptr<PageBuilder> parsePage(const std::string& text, std::string* error) {
    auto page = std::make_unique<PageBuilder>();
    std::vector<PageBuilder*> open{page.get()};  // the innermost open frame is last
    std::istringstream lines(text);
    std::string line;
    size_t number = 0;
    bool headerSeen = false;
    auto malformed = [&](const std::string& message) {
        fail(error, number, message);
        return nullptr;
    };
    while (std::getline(lines, line)) {
        ++number;
        std::string keyword, problem;
        std::vector<Token> tokens;
        if (!tokenize(line, keyword, tokens, problem)) return malformed(problem);
        if (keyword.empty() || keyword[0] == '#') continue;
        if (!headerSeen) {
            if (keyword != "quorin-page" || tokens.size() != 1 || tokens[0].name != "1")
                return malformed("not a page description (expected \"quorin-page 1\")");
            headerSeen = true;
            continue;
        }
        PageBuilder& current = *open.back();
        if (keyword == "document") {
            if (auto url = optional(tokens, "url")) current.doc().setUrl(*url);
            if (auto title = optional(tokens, "title")) current.doc().setTitle(*title);
        } else if (keyword == "element") {
            if (tokens.empty() || !tokens[0].value.empty()) return malformed("element without a tag");
            ElementDouble& element = current.element(fromUtf8(tokens[0].name));
            for (size_t i = 1; i < tokens.size(); ++i) {
                if (tokens[i].name == ":text") {
                    element.text(tokens[i].value);
                } else if (tokens[i].name == ":in") {
                    ElementDouble* container = lastBefore(current.doc(), element, tokens[i].value);
                    if (!container) return malformed("no \"" + toUtf8(tokens[i].value) + "\" element before it");
                    container->contain(element);
                } else {
                    element.attr(fromUtf8(tokens[i].name), tokens[i].value);
                }
            }
        } else if (keyword == "sheet") {
            current.sheet(optional(tokens, "title"), optional(tokens, "href").value_or(L""),
                          find(tokens, "disabled") != nullptr);
        } else if (keyword == "frame") {
            const std::wstring url = optional(tokens, "url").value_or(L"about:blank");
            const std::wstring name = optional(tokens, "name").value_or(L"");
            open.push_back(find(tokens, "denied") ? &current.deniedFrame(url, name) : &current.frame(url, name));
        } else if (keyword == "end") {
            if (open.size() == 1) return malformed("\"end\" without a frame");
            open.pop_back();
        } else {
            return malformed("unknown record \"" + keyword + "\"");
        }
    }
    if (!headerSeen) return malformed("empty page description");
    if (open.size() != 1) return malformed("a frame has no \"end\"");
    return page;
}

std::unique_ptr<PageBuilder> loadPageFile(const std::wstring& path, std::string* error) {
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file) {
        if (error) *error = "cannot open " + toUtf8(path);
        return nullptr;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parsePage(text.str(), error);
}

std::wstring pagesFolder() {
    const char* folder = std::getenv("QUORIN_PAGES");
    return folder ? fromUtf8(folder) : std::wstring();
}

bool converted(const char* set) {
    const DWORD attributes = GetFileAttributesW((pagesFolder() + L"\\" + fromUtf8(set)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace quorin::test
