# The plot's data: one line per number of Cards, one column per series, "?"
# where a series was not measured.
BEGIN { FS = "\t"; split("startup close header_click_unsorted add catalogue list floor_read floor_write_sync literal_sort literal_load literal_catalogue", keys, " ") }
{ v[$1, $2] = $3; if (!($1 in seen)) { seen[$1] = 1; sizes[++count] = $1 + 0 } }
END {
    for (i = 1; i <= count; i++) for (j = i + 1; j <= count; j++) if (sizes[j] < sizes[i]) { t = sizes[i]; sizes[i] = sizes[j]; sizes[j] = t }
    for (i = 1; i <= count; i++) {
        line = sizes[i]
        for (k = 1; k in keys; k++) line = line "\t" (((sizes[i] SUBSEP keys[k] "_s") in v) ? v[sizes[i], keys[k] "_s"] : "?")
        print line
    }
}
