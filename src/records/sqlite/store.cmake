# The SQLite record files in a folder: a station's own records.
target_link_libraries(tavel_records PUBLIC SQLite::SQLite3)
