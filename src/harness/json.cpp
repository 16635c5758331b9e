#include "harness/json.h"

#include <cmath>
#include <cstdio>

void JsonWriter::Separator() {
    if (needComma_) out_ += ", ";
    needComma_ = false;
}

JsonWriter& JsonWriter::BeginObject() {
    Separator();
    out_ += "{";
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    out_ += "}";
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    Separator();
    out_ += "[";
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    out_ += "]";
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::Key(const std::string& key) {
    Separator();
    Value(key);
    out_ += ": ";
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::Value(long long v) {
    Separator();
    out_ += std::to_string(v);
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::Value(double v) {
    Separator();
    if (!std::isfinite(v)) {
        out_ += "null";
    } else {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.9g", v);
        out_ += buf;
    }
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::Value(const std::string& v) {
    Separator();
    out_ += '"';
    for (unsigned char c : v) {
        if (c == '"' || c == '\\') {
            out_ += '\\';
            out_ += char(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out_ += buf;
        } else {
            out_ += char(c);
        }
    }
    out_ += '"';
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::Null() {
    Separator();
    out_ += "null";
    needComma_ = true;
    return *this;
}
