# The records on a PostgreSQL server several stations share (libpq).
target_link_libraries(tavel_records PUBLIC PostgreSQL::PostgreSQL)
