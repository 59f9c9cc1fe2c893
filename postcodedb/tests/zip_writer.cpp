#include "postcodedb/tests/zip_writer.h"

#include <gtest/gtest.h>
#include <zip.h>

namespace postcodedb::testing {

void WriteZip(const std::string& path, const std::vector<TZipFixtureEntry>& entries) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr) << "zip_open " << error;
  for (const TZipFixtureEntry& entry : entries) {
    zip_int64_t index;
    if (!entry.Name.empty() && entry.Name.back() == '/') {
      index = zip_dir_add(archive, entry.Name.c_str(), ZIP_FL_ENC_CP437);
    } else {
      zip_source_t* source = zip_source_buffer(archive, entry.Data.data(), entry.Data.size(), 0);
      ASSERT_NE(source, nullptr);
      // CP437 leaves the name's bytes as they are and unmarked, as Korean archivers store
      // code page 949 names.
      index = zip_file_add(archive, entry.Name.c_str(), source,
                           entry.Utf8Name ? ZIP_FL_ENC_UTF_8 : ZIP_FL_ENC_CP437);
      if (index < 0) zip_source_free(source);
    }
    ASSERT_GE(index, 0) << zip_strerror(archive);
    ASSERT_EQ(
        zip_set_file_compression(archive, index, entry.Deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0),
        0);
    if (entry.Encrypt) {
      ASSERT_EQ(zip_file_set_encryption(archive, index, ZIP_EM_AES_256, "secret"), 0);
    }
  }
  ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);
}

}  // namespace postcodedb::testing
