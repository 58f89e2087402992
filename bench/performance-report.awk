# Turns the harness's results (cards <tab> name <tab> value) into
# docs/performance.md on stdout, and the plot's data into the file named by
# plot: one line per size, "?" where a series has no figure. Set on the
# command line: date, machine, load, limit, plot.

function ms(s) {
    if (s == "") return "–"
    if (s < 0.001) return sprintf("%.0f µs", s * 1e6)
    if (s < 0.1) return sprintf("%.1f ms", s * 1e3)
    if (s < 1) return sprintf("%.0f ms", s * 1e3)
    if (s < 100) return sprintf("%.2f s", s)
    if (s < 3600) return sprintf("%.0f s", s)
    if (s < 86400 * 3) return sprintf("%.0f hours", s / 3600)
    return sprintf("%s days", cards(int(s / 86400 + 0.5)))
}
function mb(b) { return b == "" ? "–" : sprintf(b < 1e7 ? "%.1f MB" : "%.0f MB", b / 1e6) }
function has(n, key) { return ((n SUBSEP key) in v) }
function get(n, key) { return has(n, key) ? v[n, key] : "" }
# Wall clock, and the process's processor time in brackets.
function both(n, key) {
    if (!has(n, key "_s")) return "–"
    return ms(v[n, key "_s"]) " (" ms(v[n, key "_cpu_s"]) ")"
}
function ratio(a, b) { return (a == "" || b == "" || b == 0) ? "–" : cards(int(a / b + 0.5)) "×" }
# A step skipped as too slow: scaled from the largest size that ran.
function literal(n, key, power,    m, i, best) {
    if (has(n, key "_s")) return v[n, key "_s"]
    best = ""
    for (i = 1; i <= count; i++) { m = sizes[i]; if (m < n && has(m, key "_s")) best = m }
    if (best == "") return ""
    estimated[n, key] = 1
    return v[best, key "_s"] * (n / best) ^ power
}
function shown(n, key, value) { return value == "" ? "–" : (((n SUBSEP key) in estimated) ? "≈ " ms(value) " (est.)" : ms(value)) }
function verdict(wall, cpu, limit) {
    if (wall == "") return "not run"
    if (wall < limit) return "met"
    if (cpu < limit) return "met in processor time; wall clock over under load"
    return "**missed**"
}
function target(label, key, n, limit, text,    wall, cpu) {
    wall = get(n, key "_s"); cpu = get(n, key "_cpu_s")
    printf "| %s | %s | %s | %s | %s |\n", label, cards(n), both(n, key), text, verdict(wall, cpu, limit)
}
# A step of the start-up: its time, its share of the start-up and first
# paint, and its floor.
function stepRow(label, n, wall, cpu, total, floorKey, floorText,    line) {
    line = "| " label " | " ms(wall) " (" ms(cpu) ") | " (total > 0 ? sprintf("%.0f%%", 100 * wall / total) : "–") " | "
    if (floorKey == "") return line "– | – |"
    return line ms(get(n, floorKey "_s")) ", " floorText " | " ratio(wall, get(n, floorKey "_s")) " |"
}
function startupBreakdown(    k, n, total, read, splitting, reading, measure, paint, pack, packCpu, rest, restCpu) {
    for (k = 1; k <= count; k++) {
        n = sizes[k]
        if ((n != 100000 && n != 1000000) || !has(n, "step_split_pack_s") || !has(n, "startup_s")) continue
        read = get(n, "step_read_s"); splitting = get(n, "step_split_s"); reading = get(n, "step_split_pack_s")
        measure = get(n, "step_measure_s"); paint = get(n, "first_show_s")
        pack = reading - splitting; if (pack < 0) pack = 0
        packCpu = get(n, "step_split_pack_cpu_s") - get(n, "step_split_cpu_s"); if (packCpu < 0) packCpu = 0
        rest = get(n, "startup_s") - read - reading - measure; if (rest < 0) rest = 0
        restCpu = get(n, "startup_cpu_s") - get(n, "step_read_cpu_s") - get(n, "step_split_pack_cpu_s") - get(n, "step_measure_cpu_s"); if (restCpu < 0) restCpu = 0
        total = read + reading + measure + paint + rest
        if (!printed) {
            print "## Where the start-up goes"
            print ""
            print "Each step timed on its own, with the program's own function, in a process of its own beside the window run (`quillmark_bench steps`), the median of a few runs; the rest is what the window run's start-up took beyond them: building the window, filling the choice lists, sizing the columns. Shares are of all the steps and the rest together. A floor is what no step of its kind can beat, on one core: it shows how far each step still is from it."
            print ""
            printed = 1
        }
        printf "### %s Cards: %s to window ready and painted\n\n", cards(n), ms(get(n, "startup_s") + paint)
        print "| step | time | share | floor | × floor |"
        print "|---|---|---|---|---|"
        print stepRow("read qmk.dat", n, read, get(n, "step_read_cpu_s"), total, "floor_read", "`fread` into memory already in place")
        print stepRow("split into lines, keys and values", n, splitting, get(n, "step_split_cpu_s"), total, "floor_split", "one pass counting line feeds")
        print stepRow("pack the rows (the rest of the reading pass)", n, pack, packCpu, total, "floor_pack", "`memcpy` of the file's bytes")
        print stepRow("measure every cell", n, measure, get(n, "step_measure_cpu_s"), total, "floor_measure", "a table look-up for each byte of every cell")
        print stepRow("first paint", n, paint, get(n, "first_show_cpu_s"), total, "floor_first_show", "the first paint of a window with no Cards")
        print stepRow("the rest", n, rest, restCpu, total, "", "")
        print ""
    }
}
function mib(b) { return b == "" ? "–" : sprintf("%.0f MiB", b / 1048576) }
function secs(s) { return s == "" ? "–" : sprintf("%.2f s", s) }
function seenVerdict(values, limit,    i, n, parts, worst) {
    n = split(values, parts, " "); worst = ""
    for (i = 1; i <= n; i++) if (parts[i] != "" && (worst == "" || parts[i] + 0 > worst)) worst = parts[i] + 0
    if (worst == "") return "not run"
    return worst <= limit ? "met" : "**missed**"
}
# The real program from outside, and its own steps from main() on.
function seenSection(    k, n, any, start, startMade, i, key, prev, prevCpu, wall, cpu, label, none, noneMade) {
    any = has(0, "seen_start_s")
    for (k = 1; k <= count; k++) if (has(sizes[k], "seen_start_s")) any = 1
    if (!any) return
    print "## Start and close as the collector sees them"
    print ""
    print "The real `quillmark` of the same build, on the same generated collections, timed from outside by the yardstick (`../shared/yardstick/start-close.py`): started under Xvfb, the start lasts until the screen stops changing (the text cursor's blink allowed), the close from the Escape key until the process has ended with both files safely on disk; peak is the process's VmHWM before the close. Each figure is the median of three runs, each on a fresh copy of the folder; a first start of the day makes today's backup copy, a later one finds it made. The processor time is the program's, every thread of it, until the screen settled. The figures above are the harness's, in process, on Qt's offscreen platform: they leave out the program's loading, the display and the settling of the screen."
    print ""
    print "| Cards | start, seen: first start of the day | its processor time | start, seen: today's backup made | its processor time | close, seen | peak | peak with the filter bar open |"
    print "|---|---|---|---|---|---|---|---|"
    for (k = 0; k <= count; k++) {
        n = k == 0 ? 0 : sizes[k]
        if (!has(n, "seen_start_s")) continue
        printf "| %s | %s | %s | %s | %s | %s | %s | %s |\n", n == 0 ? "none" : cards(n), secs(get(n, "seen_start_s")), secs(get(n, "seen_start_cpu_s")), secs(has(n, "seen_start_made_s") ? get(n, "seen_start_made_s") : get(n, "seen_start_s")), secs(has(n, "seen_start_made_cpu_s") ? get(n, "seen_start_made_cpu_s") : get(n, "seen_start_cpu_s")), secs(get(n, "seen_close_s")), mib(get(n, "seen_peak_bytes")), mib(get(n, "seen_peak_filter_bytes"))
    }
    print ""
    none = get(0, "seen_start_s"); noneMade = has(0, "seen_start_made_s") ? get(0, "seen_start_made_s") : none
    print "| target | Cards | measured | target | |"
    print "|---|---|---|---|---|"
    if (has(100000, "seen_start_s") && none != "") {
        start = get(100000, "seen_start_s") - none; startMade = get(100000, "seen_start_made_s") - noneMade
        printf "| start, seen, beyond the start with no Cards | 100,000 | %s; %s with today's backup made | ≤ 0.15 s | %s |\n", secs(start), secs(startMade), seenVerdict(start " " startMade, 0.15)
    }
    if (has(1000000, "seen_start_s"))
        printf "| start, seen | 1,000,000 | %s; %s with today's backup made | ≤ 1.2 s | %s |\n", secs(get(1000000, "seen_start_s")), secs(get(1000000, "seen_start_made_s")), seenVerdict(get(1000000, "seen_start_s") " " get(1000000, "seen_start_made_s"), 1.2)
    if (has(100000, "seen_close_s"))
        printf "| close, seen, both files safely written | 100,000 | %s; %s | ≤ 0.12 s | %s |\n", secs(get(100000, "seen_close_s")), secs(get(100000, "seen_close_made_s")), seenVerdict(get(100000, "seen_close_s") " " get(100000, "seen_close_made_s"), 0.12)
    if (has(1000000, "seen_close_s"))
        printf "| close, seen, both files safely written | 1,000,000 | %s; %s | ≤ 0.4 s | %s |\n", secs(get(1000000, "seen_close_s")), secs(get(1000000, "seen_close_made_s")), seenVerdict(get(1000000, "seen_close_s") " " get(1000000, "seen_close_made_s"), 0.4)
    if (has(1000000, "seen_peak_bytes"))
        printf "| peak, and with the filter bar open | 1,000,000 | %s; %s | ≤ 450 MiB | %s |\n", mib(get(1000000, "seen_peak_bytes")), mib(get(1000000, "seen_peak_filter_bytes")), seenVerdict(get(1000000, "seen_peak_bytes") / 1048576 " " (has(1000000, "seen_peak_filter_bytes") ? get(1000000, "seen_peak_filter_bytes") / 1048576 : ""), 450)
    print ""
    for (k = 0; k <= count; k++) {
        n = k == 0 ? 0 : sizes[k]
        if (!has(n, "step_00_s")) continue
        printf "### The program's own steps, %s, first start of the day\n\n", n == 0 ? "no Cards" : cards(n) " Cards"
        print "Told by the program itself (`QT_LOGGING_RULES=\"quillmark.steps.debug=true\"`), in the run with the median first paint of three (`bench/steps-seen.py`): each step as it ended, since `main()` began, with the processor time of every thread of the process; the filter bar was opened and a letter typed in it before the close."
        print ""
        print "| step | ended at | took | processor time |"
        print "|---|---|---|---|"
        prev = ""; prevCpu = ""
        for (i = 0; ; i++) {
            key = sprintf("step_%02d", i)
            if (!has(n, key "_s")) break
            wall = get(n, key "_s"); cpu = get(n, key "_cpu_s"); label = get(n, key "_label")
            if (label == "process started (clock ticks of 10 ms)") label = "process started (to 10 ms)"
            printf "| %s | %s | %s | %s |\n", label, (wall < 0 ? "−" ms(-wall) : ms(wall)), (prev == "" ? "–" : ms(wall - prev)), (prevCpu == "" ? "–" : ms(cpu - prevCpu))
            prev = wall; prevCpu = cpu
        }
        print ""
    }
}
function cards(n,    s) { s = sprintf("%d", n); while (s ~ /[0-9][0-9][0-9][0-9]/) sub(/[0-9][0-9][0-9]($|,)/, ",&", s); return s }

BEGIN { FS = "\t" }
# The program with no Cards is timed only from outside: it is no size of the harness's tables.
{ v[$1, $2] = $3; if (!($1 in seen) && $1 + 0 > 0) { seen[$1] = 1; sizes[++count] = $1 + 0 } }
END {
    for (i = 1; i <= count; i++) for (j = i + 1; j <= count; j++) if (sizes[j] < sizes[i]) { t = sizes[i]; sizes[i] = sizes[j]; sizes[j] = t }

    print "# Performance"
    print ""
    printf "Measured by `scripts/bench` on %s: %s, Release build, Qt's offscreen platform. ", date, machine
    printf "Load average when the run began: %s. ", load
    print "Every time is the wall clock the user waits, the command and the events it posted (repaint, relayout) together, with the benchmark process's processor time in brackets; on a machine shared with other work the wall clock runs ahead of the processor time. Where a command shares its work out over the cores, its processor time adds up all of them and may exceed the wall clock. Repeated commands show the median of 7 to 15 runs."
    print ""
    print "Collections are generated by `bench/CardGenerator.cpp`: about 213 bytes a Card, 40 Series and 12 Conditions repeated, UTF-8 text beyond ASCII in names, Series and descriptions."
    print ""

    print "## Targets"
    print ""
    print "| operation | Cards | measured | target | |"
    print "|---|---|---|---|---|"
    for (k = 1; k <= count; k++) {
        n = sizes[k]
        if (n != 100000 && n != 1000000) continue
        big = n == 1000000
        target("start-up to window ready", "startup", n, big ? 1.5 : 0.25, big ? "< 1.5 s" : "< 250 ms")
        target("close right after a change, both files written safely", "close", n, 0.5, "< 0.5 s")
        target("header click, unsorted column", "header_click_unsorted", n, big ? 0.3 : 0.15, big ? "< 300 ms" : "< 150 ms")
        target("header click, sorted column", "header_click_sorted", n, big ? 0.3 : 0.15, big ? "< 300 ms" : "< 150 ms")
        split("add update delete clear row_click", ops, " ")
        split("Add Update Delete Clear row click", names, " ")
        names[5] = "row click"
        for (o = 1; o <= 5; o++) target(names[o], ops[o], n, 0.03, "< 30 ms")
        target("filter bar keystroke to repainted table (median)", "filter_keystroke", n, big ? 0.3 : 0.03, big ? "< 300 ms" : "< 30 ms")
        target("Statistics, counting", "statistics", n, big ? 1 : 0.1, big ? "< 1 s" : "< 100 ms")
        target("Statistics window opened", "statistics_window", n, big ? 1 : 0.1, big ? "< 1 s" : "< 100 ms")
        target("undo or redo of Add, Update or Delete, slowest", "undo_redo_max", n, big ? 0.1 : 0.03, big ? "< 100 ms" : "< 30 ms")
        click = get(n, "header_click_unsorted_s")
        printf "| undo of a header click that sorted | %s | %s | ≤ the click (%s) | %s |\n", cards(n), both(n, "undo_header_click_unsorted"), ms(click), (click == "" ? "–" : verdict(get(n, "undo_header_click_unsorted_s"), get(n, "undo_header_click_unsorted_cpu_s"), click))
        if (!big && has(n, "rss_history_mix_bytes")) printf "| 1,000 mixed steps kept for undo | %s | %s (the history holds %s) | < 50 MB | %s |\n", cards(n), mb(get(n, "rss_history_mix_bytes")), mb(get(n, "history_mix_bytes")), (get(n, "rss_history_mix_bytes") < 50e6 ? "met" : "**missed**")
        target("Catalogue", "catalogue", n, big ? 10 : 1, big ? "< 10 s" : "< 1 s")
        target("List", "list", n, big ? 10 : 1, big ? "< 10 s" : "< 1 s")
        if (!big) {
            target("Export to CSV, file written safely", "csv_export", n, 0.3, "< 300 ms")
            target("Import from CSV until the table is shown, widths fitted", "csv_import", n, 1.5, "< 1.5 s")
            if (has(n, "csv_import_apps_s")) target("Import of a Deckbox export, app recognised, rows read", "csv_import_apps", n, 1.5, "< 1.5 s")
            if (has(n, "rss_csv_import_bytes")) {
                importLimit = 3 * get(n, "csv_bytes") + get(n, "rss_csv_table_bytes")
                printf "| peak memory of Import from CSV, beside the window before it | %s | %s | < %s (3 × CSV + table of %s) | %s |\n", cards(n), mb(get(n, "rss_csv_import_bytes")), mb(importLimit), mb(get(n, "rss_csv_table_bytes")), (get(n, "rss_csv_import_bytes") < importLimit ? "met" : "**missed**")
            }
        }
        peak = get(n, "rss_startup_bytes"); if (get(n, "rss_binder_bytes") > peak) peak = get(n, "rss_binder_bytes"); if (get(n, "rss_commands_bytes") > peak) peak = get(n, "rss_commands_bytes"); if (get(n, "rss_filter_bytes") > peak) peak = get(n, "rss_filter_bytes"); if (get(n, "rss_pages_bytes") > peak) peak = get(n, "rss_pages_bytes"); if (get(n, "rss_csv_export_bytes") > peak) peak = get(n, "rss_csv_export_bytes"); if (get(n, "rss_close_bytes") > peak) peak = get(n, "rss_close_bytes")
        memoryLimit = big ? 450e6 : 3 * get(n, "file_bytes") + 80e6
        printf "| peak memory, whole run | %s | %s | < %s%s | %s |\n", cards(n), mb(peak), mb(memoryLimit), (big ? "" : " (3 × file + 80 MB)"), (peak == "" ? "not run" : peak < memoryLimit ? "met" : "**missed**")
        printf "| peak memory, Catalogue and List | %s | %s | a few times the page (%s) | %s |\n", cards(n), mb(get(n, "rss_pages_bytes")), mb(get(n, "catalogue_bytes")), (get(n, "rss_pages_bytes") < 3 * get(n, "catalogue_bytes") + 80e6 ? "met" : "**missed**")
        if (!big) {
            target("binder opened to its first page", "binder_open", n, 0.3, "≤ 300 ms")
            thumbnails = get(n, "binder_thumbnail_memory_bytes")
            printf "| binder, decoded thumbnails in memory | %s | %s | < 100 MB | %s |\n", cards(n), mb(thumbnails), (thumbnails == "" ? "not run" : (thumbnails < 100e6 ? "met" : "**missed**"))
        }
    }
    print ""

    seenSection()

    startupBreakdown()

    print "## Every operation by number of Cards"
    print ""
    header = "| operation |"; rule = "|---|"
    for (k = 1; k <= count; k++) { header = header " " cards(sizes[k]) " |"; rule = rule "---|" }
    print header; print rule
    split("startup first_show close close_saved teardown header_click_unsorted header_click_sorted header_click_max add update delete clear row_click entry_command_max undo_add redo_add undo_update redo_update undo_delete redo_delete undo_header_click_unsorted redo_header_click_unsorted undo_header_click_sorted redo_header_click_sorted history_mix_undo_all filter_open filter_keystroke filter_backspace filter_keystroke_max filter_add filter_update filter_delete filter_header_click filter_close statistics statistics_window catalogue list csv_export csv_import csv_import_dialog binder_open binder_page_turn binder_grid binder_scroll binder_resize_tiles binder_add binder_close floor_read floor_write floor_write_sync", keys, " ")
    labels["startup"] = "start-up (window constructed, collection loaded)"; labels["first_show"] = "first show and paint"
    labels["close"] = "close right after an Update (qmk.ini and qmk.dat written safely)"; labels["teardown"] = "window destroyed after close"
    labels["close_saved"] = "close once the autosave has saved (qmk.ini written, qmk.dat found as saved)"
    labels["header_click_unsorted"] = "header click, unsorted column (median of columns)"; labels["header_click_sorted"] = "header click, sorted column (reverses)"
    labels["header_click_max"] = "header click, slowest"; labels["add"] = "Add"; labels["update"] = "Update"; labels["delete"] = "Delete"
    labels["clear"] = "Clear"; labels["row_click"] = "row click"; labels["entry_command_max"] = "Add/Update/Delete/Clear/row click, slowest"
    labels["statistics"] = "Statistics, counting"; labels["statistics_window"] = "Statistics window opened and shown"
    labels["catalogue"] = "Catalogue"; labels["list"] = "List"
    labels["filter_open"] = "Ctrl+F, the filter bar opened (the cells beyond ASCII folded)"; labels["filter_keystroke"] = "filter bar, key typed to repainted table (median)"
    labels["filter_backspace"] = "filter bar, Backspace to repainted table (median)"; labels["filter_keystroke_max"] = "filter bar keystroke, slowest"
    labels["filter_add"] = "Add while filtered"; labels["filter_update"] = "Update while filtered"; labels["filter_delete"] = "Delete while filtered"
    labels["filter_header_click"] = "header click while filtered (median of 3)"; labels["filter_close"] = "Escape, the filter bar closed"
    labels["csv_export"] = "Export to CSV (cards.csv written safely)"; labels["csv_import"] = "Import from CSV into an empty window, until the table is shown"
    labels["csv_import_dialog"] = "its import dialog: detection and preview"
    split("add update delete", undone, " "); split("Add Update Delete", undoneNames, " ")
    for (o = 1; o <= 3; o++) { labels["undo_" undone[o]] = "undo of " undoneNames[o]; labels["redo_" undone[o]] = "redo of " undoneNames[o] }
    labels["undo_header_click_unsorted"] = "undo of a header click that sorted"; labels["redo_header_click_unsorted"] = "redo of a header click that sorted"
    labels["undo_header_click_sorted"] = "undo of a header click that reversed"; labels["redo_header_click_sorted"] = "redo of a header click that reversed"
    labels["history_mix_undo_all"] = "undo of 1,000 mixed steps, one by one"
    labels["binder_open"] = "binder opened, first page of nine painted"; labels["binder_page_turn"] = "binder page turned"
    labels["binder_grid"] = "binder as one grid of every Card, painted"; labels["binder_scroll"] = "binder grid scrolled to another place"
    labels["binder_resize_tiles"] = "binder grid at another tile size"; labels["binder_add"] = "Add with the binder grid open"
    labels["binder_close"] = "binder closed"
    labels["floor_read"] = "I/O floor: `fread` of qmk.dat"; labels["floor_write"] = "I/O floor: `fwrite` of the same bytes"; labels["floor_write_sync"] = "I/O floor: `fwrite` and `fsync`"
    for (i = 1; i in keys; i++) {
        line = "| " labels[keys[i]] " |"
        for (k = 1; k <= count; k++) line = line " " both(sizes[k], keys[i]) " |"
        print line
    }
    line = "| qmk.dat |"; for (k = 1; k <= count; k++) line = line " " mb(get(sizes[k], "file_bytes")) " |"; print line
    line = "| catalogue.htm |"; for (k = 1; k <= count; k++) line = line " " mb(get(sizes[k], "catalogue_bytes")) " |"; print line
    line = "| cards.csv |"; for (k = 1; k <= count; k++) line = line " " mb(get(sizes[k], "csv_bytes")) " |"; print line
    split("rss_startup_bytes rss_binder_bytes rss_commands_bytes rss_filter_bytes rss_pages_bytes rss_csv_export_bytes rss_close_bytes", peaks, " ")
    split("start-up|binder|commands and header clicks|filter bar|Catalogue and List|Export to CSV|close", peakNames, "|")
    for (i = 1; i in peaks; i++) {
        line = "| peak resident memory, " peakNames[i] " |"
        for (k = 1; k <= count; k++) line = line " " mb(get(sizes[k], peaks[i])) " |"
        print line
    }
    line = "| Import from CSV: peak beside the window before it |"; for (k = 1; k <= count; k++) line = line " " mb(get(sizes[k], "rss_csv_import_bytes")) " |"; print line
    line = "| Import from CSV: what the table keeps of it |"; for (k = 1; k <= count; k++) line = line " " mb(get(sizes[k], "rss_csv_table_bytes")) " |"; print line
    split("history_mix_bytes rss_history_mix_bytes history_sorts_bytes", held, " ")
    split("history of 1,000 mixed steps (8 Adds, 6 Updates, 5 Deletes, 1 sort in 20)|peak memory growth over those steps|history after header clicks alone (1,000; 100 beyond 100,000 Cards)", heldNames, "|")
    for (i = 1; i <= 3; i++) {
        line = "| " heldNames[i] " |"
        for (k = 1; k <= count; k++) line = line " " mb(get(sizes[k], held[i])) " |"
        print line
    }
    split("history_mix_undoable history_sorts_undoable", kept, " ")
    split("steps that can be undone after the mixed steps|header clicks that can be undone after clicks alone", keptNames, "|")
    for (i = 1; i <= 2; i++) {
        line = "| " keptNames[i] " |"
        for (k = 1; k <= count; k++) line = line " " (has(sizes[k], kept[i]) ? cards(get(sizes[k], kept[i])) : "–") " |"
        print line
    }
    print ""
    print "Undo and redo run through the window as Ctrl+Z and Ctrl+Shift+Z do. A sort keeps its permutation, 4 bytes a Card, and a reversal nothing; an Add keeps nothing while it is done, an Update the texts the row no longer has, a Delete the deleted Card. The history keeps at most 32 MiB of steps and forgets the oldest beyond that: 1,000 sorts of 100,000 Cards would need 400 MB and keep the last 83 or so instead. The peak growth includes the sort's own working memory, which the header click needs as well."
    print ""

    for (k = 1; k <= count; k++) {
        n = sizes[k]
        if (!has(n, "binder_pictures")) continue
        print "## The binder's pictures"
        print ""
        printf "A binder of %s Cards, each with its own local JPEG of 400 × 560 pixels, shown as one grid of 1000 × 700 pixels and scrolled through a screen at a time, each screen waited for until every tile in sight has its thumbnail; then the same in a new binder, from the thumbnails kept on disk. Measured in the %s-Card run.\n\n", cards(get(n, "binder_pictures")), cards(n)
        print "| | screen filled (median) | thumbnails a second |"
        print "|---|---|---|"
        printf "| first opening: each picture decoded, its thumbnail written | %s | %.0f |\n", both(n, "binder_pictures_cold_screen"), get(n, "binder_pictures_cold_per_s")
        printf "| second opening: thumbnails read from the disk cache | %s | %.0f |\n", both(n, "binder_pictures_cached_screen"), get(n, "binder_pictures_cached_per_s")
        print ""
        printf "Decoded thumbnails held in memory at most: %s (the cache's limit is 64 MiB; every thumbnail held would take about %s). Peak resident memory of the whole process while scrolling through the pictures: %s.\n\n", mb(get(n, "binder_thumbnail_memory_bytes")), mb(get(n, "binder_pictures") * 182 * 256 * 4), mb(get(n, "rss_binder_pictures_bytes"))
    }

    for (k = 1; k <= count; k++) {
        n = sizes[k]
        if (!has(n, "page_search_list_ready_s")) continue
        print "## The published pages' own search"
        print ""
        printf "The sample Catalogue and List of %s generated Cards with details, published with `#CARDSEARCH#` and opened from disk in headless Chromium (`quillmark_bench page-search`). Ready: from the start of the page's loading until its search works, most of it the browser reading the page; the engine's part is its own. A keystroke: a search typed a letter at a time, cleared, then searched by field and by phrase; the engine's work, then with the browser's restyling and layout of the rows that it forces (the median, and the longest, which is a search that shows or hides most rows at once).\n\n", cards(n)
        print "| page | size | ready to search | the engine's part | keystroke, engine | longest | keystroke with layout | longest |"
        print "|---|---|---|---|---|---|---|---|"
        split("catalogue:Catalogue list:List", pages, " ")
        for (i = 1; i in pages; i++) {
            split(pages[i], page, ":"); key = "page_search_" page[1]
            printf "| %s | %s | %s | %s | %s | %s | %s | %s |\n", page[2], mb(get(n, key "_bytes")), ms(get(n, key "_ready_s")), ms(get(n, key "_engine_s")), ms(get(n, key "_keystroke_s")), ms(get(n, key "_keystroke_max_s")), ms(get(n, key "_keystroke_shown_s")), ms(get(n, key "_keystroke_shown_max_s"))
        }
        print ""
    }

    print "## The plain steps as a baseline"
    print ""
    printf "Each plain step runs in the same process as the program's own command and gives the same rows, widths and page bytes (checked by the run, and by `test_bench_baselines`). A step is run only where the size before predicts under %s s; otherwise it is scaled from the largest size that ran (n² for the sort and the load, n for the page) and marked est.; for the load, part of whose cost grows only as n, that is an upper estimate.\n\n", limit
    print "| Cards | sort, adjacent exchanges | header click, ours | ratio | load, width fit after each Card | start-up, ours | ratio | Catalogue through the fields | Catalogue, ours | ratio |"
    print "|---|---|---|---|---|---|---|---|---|---|"
    for (k = 1; k <= count; k++) {
        n = sizes[k]
        ls = literal(n, "literal_sort", 2); ll = literal(n, "literal_load", 2); lc = literal(n, "literal_catalogue", 1)
        so = get(n, "header_click_unsorted_s")
        co = get(n, "catalogue_s")
        printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", cards(n), shown(n, "literal_sort", ls), ms(so), ratio(ls, so), shown(n, "literal_load", ll), ms(get(n, "startup_s")), ratio(ll, get(n, "startup_s")), shown(n, "literal_catalogue", lc), ms(co), ratio(lc, co)
    }
    if (plot != "") {
        split("startup close header_click_unsorted add catalogue list floor_read floor_write_sync", plotted, " ")
        split("literal_sort:2 literal_load:2 literal_catalogue:1", plain, " ")
        for (k = 1; k <= count; k++) {
            n = sizes[k]; line = n
            for (i = 1; i in plotted; i++) line = line "\t" (has(n, plotted[i] "_s") ? get(n, plotted[i] "_s") : "?")
            for (i = 1; i in plain; i++) {
                split(plain[i], step, ":"); value = literal(n, step[1], step[2])
                # Measured, then estimated; the last measured point starts the estimate's line.
                last = has(n, step[1] "_s") && !(has(sizes[k + 1], step[1] "_s"))
                line = line "\t" (has(n, step[1] "_s") ? value : "?") "\t" ((!has(n, step[1] "_s") || last) && value != "" ? value : "?")
            }
            print line > plot
        }
    }
    print ""
    print "The plain steps: the sort passes over every adjacent pair of the Name column, reading both cells afresh and exchanging rows cell by cell through `CardTableModel::Cell`/`SetCell`, until a pass makes no exchange; the load puts each Card through the entry fields and `MainWindow::TakeFields`, then into the top row of a `CardTableModel`, and then measures every cell of the table again, as a content fit does; the Catalogue reads each row into the held Card with `MainWindow::ReadRow` before filling the row template. The program's figures beside them are those of the window run above: the median header click on an unsorted column, start-up, and the Catalogue command."
    print ""
    print "![time against number of Cards](performance.svg)"
}
