// A small JSON writer for the state dump.
#pragma once

#include <string>
#include <type_traits>

class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(const std::string& key);
    JsonWriter& Value(long long v);
    JsonWriter& Value(double v);
    JsonWriter& Value(const std::string& v);
    JsonWriter& Null();
    template <typename T>
    JsonWriter& Field(const std::string& key, T v) {
        Key(key);
        if constexpr (std::is_floating_point_v<T>)
            return Value(double(v));
        else
            return Value(static_cast<long long>(v));
    }
    template <typename T>
    JsonWriter& Array(const std::string& key, const T* values, int count) {
        Key(key).BeginArray();
        for (int i = 0; i < count; ++i) {
            if constexpr (std::is_floating_point_v<T>)
                Value(double(values[i]));
            else
                Value(static_cast<long long>(values[i]));
        }
        return EndArray();
    }
    const std::string& str() const { return out_; }

  private:
    void Separator();
    std::string out_;
    bool needComma_ = false;
};
