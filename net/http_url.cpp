#include "net/http_url.h"

#include <string_view>

#include "platform/text/ascii_case.h"

namespace rv {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

// Fills host, port, user and password from "user:password@host:port", and the path from what
// follows it.
void SplitAuthorityAndPath(std::string_view rest, TUrlParts& parts) {
    const std::size_t pathStart = rest.find_first_of("/?");
    std::string_view hostPart = rest.substr(0, pathStart);
    if (pathStart != std::string_view::npos) parts.path = rest.substr(pathStart);
    const std::size_t at = hostPart.rfind('@');
    if (at != std::string_view::npos) {
        const std::string_view userPart = hostPart.substr(0, at);
        const std::size_t colon = userPart.find(':');
        parts.user = userPart.substr(0, colon);
        if (colon != std::string_view::npos) parts.password = userPart.substr(colon + 1);
        hostPart.remove_prefix(at + 1);
    }
    const std::size_t colon = hostPart.rfind(':');
    parts.host = hostPart.substr(0, colon);
    if (colon != std::string_view::npos) parts.port = hostPart.substr(colon + 1);
}

// The five components of a URI reference (RFC 3986, appendix B); `has*` tells an empty
// component from an absent one.
struct UriRef {
    std::string scheme, authority, path, query;
    bool hasScheme = false, hasAuthority = false, hasQuery = false;
};

// A letter, then letters, digits, "+", "-" or ".".
bool IsScheme(std::string_view text) {
    return IsAsciiName(text, "+-.");
}

UriRef SplitUri(std::string_view text) {
    UriRef ref;
    text = text.substr(0, text.find('#'));
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos && IsScheme(text.substr(0, colon))) {
        ref.scheme = LowerCase(text.substr(0, colon));
        ref.hasScheme = true;
        text.remove_prefix(colon + 1);
    }
    if (text.substr(0, 2) == "//") {
        text.remove_prefix(2);
        const std::size_t end = text.find_first_of("/?");
        ref.authority = text.substr(0, end);
        ref.hasAuthority = true;
        text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    }
    const std::size_t question = text.find('?');
    ref.path = text.substr(0, question);
    if (question != std::string_view::npos) {
        ref.query = text.substr(question + 1);
        ref.hasQuery = true;
    }
    return ref;
}

// RFC 3986, section 5.2.4.
std::string RemoveDotSegments(std::string_view input) {
    std::string output;
    while (!input.empty()) {
        if (input.substr(0, 3) == "../") {
            input.remove_prefix(3);
        } else if (input.substr(0, 2) == "./") {
            input.remove_prefix(2);
        } else if (input.substr(0, 3) == "/./") {
            input.remove_prefix(2);
        } else if (input == "/.") {
            input = "/";
        } else if (input.substr(0, 4) == "/../" || input == "/..") {
            input = input.size() == 3 ? std::string_view("/") : input.substr(3);
            const std::size_t slash = output.rfind('/');
            output.resize(slash == std::string::npos ? 0 : slash);
        } else if (input == "." || input == "..") {
            input = {};
        } else {
            const std::size_t end = input.find('/', 1);
            output += input.substr(0, end);
            input.remove_prefix(end == std::string_view::npos ? input.size() : end);
        }
    }
    return output;
}

// RFC 3986, section 5.2.3.
std::string MergePaths(const UriRef& base, const std::string& path) {
    if (base.hasAuthority && base.path.empty()) return "/" + path;
    const std::size_t slash = base.path.rfind('/');
    return slash == std::string::npos ? path : base.path.substr(0, slash + 1) + path;
}

}  // namespace

TUrlParts ParseURL(const std::string& url) {
    TUrlParts parts;
    std::string_view rest = url;
    const std::size_t separator = rest.find("://");
    if (separator != std::string_view::npos) {
        parts.proto = rest.substr(0, separator);
        rest.remove_prefix(separator + 3);
    } else if (!rest.empty() && rest[0] == '/') {
        parts.proto = "http";
        if (rest.size() < 2 || rest[1] != '/') {
            parts.path = rest;
            return parts;
        }
        rest.remove_prefix(2);
    } else if (StartsWithNoCase(rest, "http:")) {
        parts.proto = "http";
        rest.remove_prefix(5);
        if (url.size() > 6 && url[6] != '/') {
            parts.path = rest;
            return parts;
        }
    } else if (StartsWithNoCase(rest, "mailto:")) {
        parts.proto = "mailto";
        rest.remove_prefix(7);
    }
    SplitAuthorityAndPath(rest, parts);
    return parts;
}

std::string ResolveURL(const std::string& base, const std::string& reference) {
    const UriRef b = SplitUri(base);
    const UriRef r = SplitUri(reference);
    UriRef t;
    if (r.hasScheme) {
        t = r;
        t.path = RemoveDotSegments(r.path);
    } else {
        t.scheme = b.scheme;
        t.hasScheme = b.hasScheme;
        if (r.hasAuthority) {
            t.authority = r.authority;
            t.hasAuthority = true;
            t.path = RemoveDotSegments(r.path);
            t.query = r.query;
            t.hasQuery = r.hasQuery;
        } else {
            t.authority = b.authority;
            t.hasAuthority = b.hasAuthority;
            if (r.path.empty()) {
                t.path = b.path;
                t.query = r.hasQuery ? r.query : b.query;
                t.hasQuery = r.hasQuery || b.hasQuery;
            } else {
                t.path = RemoveDotSegments(r.path[0] == '/' ? r.path : MergePaths(b, r.path));
                t.query = r.query;
                t.hasQuery = r.hasQuery;
            }
        }
    }
    std::string result;
    if (t.hasScheme) result += t.scheme + ":";
    if (t.hasAuthority) result += "//" + t.authority;
    result += t.path;
    if (t.hasQuery) result += "?" + t.query;
    return result;
}

}  // namespace rv
