#!/usr/bin/env bash
# A small mutation run over the subsystems most recently changed: each mutant is a
# plausible bug made in one line; the tests that cover that code are run against
# it, and a mutant they still pass is reported as surviving. The source is put
# back after each one. Uses the build in build/.
#   bash scripts/mutants.sh [TEXT]   (TEXT: only the mutants naming it, a file or a test)
set -uo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen

# file # the text as it stands (a sed pattern) # the mutant # test program # test functions (none: all)
mutants=(
  "platform/WorkerThread.h#constexpr int kWalkNiceness = 2;#constexpr int kWalkNiceness = 10;#test_search_window#theWalkGivesWayOnlyALittle"
  "app/Form1.cpp#    parts_->selection.prepare();#    (void)0;#test_end_to_end#theDecoderIsReadyBeforeTheFirstPicture"
  "platform/XmlText.h#c < 0x20 && c != u'\\\\t'#c < 0x1F \\&\\& c != u'\\\\t'#test_office_exports#xmlSafeTextKeepsWhatXmlHoldsAndNothingElse"
  "platform/XmlText.h#c == 0xFFFE || c == 0xFFFF#c == 0xFFFE#test_office_exports#xmlSafeTextKeepsWhatXmlHoldsAndNothingElse"
  "platform/FolderEnumeration.cpp#return folder.isFolder(name);#return true;#test_finder#anEntryOfUnknownTypeIsAskedWithoutFollowingLinks"
  "platform/ExportFolder.cpp#if (writable && !isInside(programFolder, systemFolders))#if (writable)#test_command_line#anInstalledProgramExportsToTheDocumentsFolder"
  "platform/ExportFolder.cpp#if (writable && !isInside(programFolder, systemFolders))#if (!isInside(programFolder, systemFolders))#test_command_line#aReadOnlyProgramFolderExportsToTheDocumentsFolder anInstalledProgramExportsToTheDocumentsFolder"
  "platform/WholeFile.cpp#now - st.st_mtime < olderThanSeconds#false#test_nothing_lost#theNextExportRemovesOldPartFiles"
  "platform/WholeFile.cpp#!S_ISREG(st.st_mode) ||#false ||#test_nothing_lost#theNextExportRemovesOldPartFiles"
  "preview/Decoding.cpp#if (!kindsOf(request.route).count(reader.format()))#if (reader.format().isEmpty())#test_pictures#eachKindByItsOwnDecoder"
  "preview/Decoding.cpp#        if (!kindsOf(request.route).count(format))#        if (format.isEmpty())#test_pictures#eachKindByItsOwnDecoder"
  "pdf/CffCharset.cpp#cids\\[glyph++\\] = std::uint16_t(first + i);#cids[glyph++] = std::uint16_t(first);#test_pdf_writer#cffCharsetsGiveEachGlyphsCid"
  "platform/DesktopMessageBoxes.cpp#if (!isInput(event->type()) || isInsideAMessage(watched))#if (true)#test_window_events#aMessageHoldsTheWindowUntilAnswered"
  "preview/PictureDecoder.cpp#        barrier_ = serial;#        (void)serial;#test_pictures#theNewestRequestWins"
  "pdf/UnicodeFonts.cpp#level >= 1; --level#level >= 2; --level#test_pdf_unicode#rightToLeftTextIsOrderedAsReadersShowIt"
  "search/FileFinder.cpp#^            if (sink.stopRequested())#            if (false)#test_finder#stopInsideOneLargeFolder"
  "search/SearchCommand.cpp#    if (searching_) {#    if (false) {#test_window_events#cancelAndCloseThroughTheirControls"
  "search/ResultList.cpp#top = row - shown + 1;#top = row - shown;#test_window_events#aLongListScrollsAndSelectsByItsRows"
  "search/ResultList.cpp#row += rowsShown();#row += 1;#test_window_events#aLongListScrollsAndSelectsByItsRows"
  "search/ResultList.cpp#setRange(0, std::max(0, widest_ - width));#setRange(0, 0);#test_window_events#aLongListScrollsAndSelectsByItsRows"
  "search/ResultList.cpp#    ++generation_;#    (void)generation_;#test_window_events#aScreenReaderReadsTheEntries"
  "search/ResultListAccessibility.cpp#known != rows_.constEnd()#false#test_window_events#aScreenReaderReadsTheEntries"
  "search/ResultListAccessibility.cpp#state.selected = list_->#state.selected = !list_->#test_window_events#aScreenReaderReadsTheEntries"
  "search/ResultListAccessibility.cpp#return current.isValid() ? child(current.row()) : nullptr;#return nullptr;#test_window_events#aScreenReaderReadsTheEntries"
  "search/FolderPrefetch.h#kWindow = 256;#kWindow = 1;#test_finder#foldersAreReadAheadAsFarAsTheWindowGoes"
  "search/FolderPrefetch.cpp#return reading + int(done.size()) < kWindow ||#return true ||#test_finder#foldersAreReadAheadAsFarAsTheWindowGoes"
  "search/FileFinder.cpp#kEntriesPerCheckpoint = 2048;#kEntriesPerCheckpoint = 4096;#test_finder#aLargeFolderIsHandedOverInRuns"
  "search/FileFinder.cpp#if (++sinceCheckpoint == kEntriesPerCheckpoint) {#if (false) {#test_finder#aLargeFolderIsHandedOverInRuns"
  "platform/Services.h#int walkFrameMs = 16;#int walkFrameMs = 1600;#test_search_window#aWalkUpdatesTheWindowOnceAFrame"
  "search/WalkSession.cpp#if (ended || wait <= 0)#if (true)#test_search_window#aWalkUpdatesTheWindowOnceAFrame"
  "search/WalkSession.cpp#    options.reads = reads_;#    (void)reads_;#test_search_window#aHundredCancelsOnAHungShareStayBounded"
  "platform/FolderEnumeration.cpp#const bool complete = errno == 0;#const bool complete = errno == 0; if (!complete) entries.clear();#test_finder#aListingThatFailsPartWayKeepsWhatWasRead"
  "platform/FolderEnumeration.cpp#&st, AT_SYMLINK_NOFOLLOW) != 0)#\&st, 0) != 0)#test_finder#aLinkIsSizedAsItself"
  "platform/FolderEnumeration.cpp#O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC#O_RDONLY | O_DIRECTORY | O_CLOEXEC#test_finder#aFolderSwappedForALinkIsNotWalkedInto"
  "search/WalkSession.cpp#status_.setText(platform::shownFileName(\\*batch.status));#status_.setText(*batch.status);#test_search_window#theStatusLineShowsAFolderNameThatIsNotUtf8"
  "search/SearchCommand.cpp#outcome.stopped, outcome.cut)#outcome.stopped)#test_search_window#aSearchCutShortSaysWhy"
  "search/FileFinder.cpp#if (scan->outOfMemory)#if (false)#test_search_window#aSearchCutShortSaysWhy"
  "preview/DecoderClient.cpp#    if (request.metafile != decoding::Metafile::None)#    if (false)#test_pictures#eachDrawingHasAHelperOfItsOwn"
  "preview/DecoderClient.cpp#kHelpersTried = 3;#kHelpersTried = 2;#test_pictures#aHelperThatFailsCostsOnlyItsPicture"
  "preview/DecoderClient.cpp#helperFailed_ = true;#(void)0;#test_pictures#aHelperThatFailsCostsOnlyItsPicture"
  "preview/Confinement.cpp#SCMP_FLTATR_CTL_TSYNC, 1)#SCMP_FLTATR_CTL_TSYNC, 0)#test_pictures#theHelperIsConfined"
  "preview/Confinement.cpp#SCMP_SYS(tgkill), 1, SCMP_A0(SCMP_CMP_EQ, self)#SCMP_SYS(tgkill), 1, SCMP_A0(SCMP_CMP_NE, 0)#test_pictures#theHelperIsConfined"
  "preview/Confinement.cpp#SCMP_SYS(prlimit64), 1, SCMP_A0(SCMP_CMP_EQ, self)#SCMP_SYS(prlimit64), 1, SCMP_A0(SCMP_CMP_NE, 0)#test_pictures#theHelperIsConfined"
  "preview/DecoderHelperMain.cpp#preview::closeInheritedDescriptors(probing ? STDERR_FILENO : kSocket);#(void)kSocket;#test_pictures#theHelperIsConfined"
  "preview/DecoderHelperMain.cpp#std::min<std::int64_t>(usableLength(request, bytes, st.st_size), kLargestRead)#std::int64_t(st.st_size)#test_pictures#aLongFileIsReadOnlyAsFarAsItsPictureGoes"
  "preview/Decoding.cpp#mostBytesPerPixel(format) \\* pixels + kRoomBesidePixels)#fileSize)#test_pictures#aLongFileIsReadOnlyAsFarAsItsPictureGoes"
  "preview/Metafile.cpp#        !emfRecordsFit(emf))#        false)#test_pictures#metafileHeadersAreChecked"
  "preview/Metafile.cpp#if (dataSize < (continued ? 5u : 1u))#if (false)#test_pictures#metafileHeadersAreChecked"
  "preview/Metafile.cpp# || dataSize > size - 12)#)#test_pictures#metafileHeadersAreChecked"
  "preview/Metafile.cpp#if ((type \& kEmfPlusTypeMask) == kEmfPlusObject) {#if (type == 0x4008) {#test_pictures#metafileHeadersAreChecked"
  "platform/WholeFile.cpp#if (!isPartName(entry->d_name))#if (false)#test_nothing_lost#theNextExportRemovesOldPartFiles"
  "preview/PictureDecoder.cpp#(kept->failed && decoderOfThisThread().helperFailed())#(false)#test_end_to_end#aPictureLostToAHungShareIsTriedAgain"
  "platform/DesktopMessageBoxes.cpp#if (const auto \\*window = qobject_cast<const QWindow \\*>(object))#if (const QWindow *window = nullptr)#test_messages#aMessageClosesByKeyboardAndMouse"
  "export/PdfLineFit.cpp#constexpr double kLeastScale = 50;#constexpr double kLeastScale = 30;#test_pdf_export#aLineIsFittedByCompressingThenCutting"
  "export/PdfLineFit.cpp#std::floor(room / width#std::round(room / width#test_pdf_export#aLineIsFittedByCompressingThenCutting"
  "export/TextExport.cpp#return c < 0x20 || (c >= 0x7F \&\& c <= 0x9F);#return c < 0x20;#test_list_exports#textFileQuotesNamesWithControlCharacters"
  "export/OpenExport.cpp#    if (!context.shell.openFile(path, notOpened))#    if (!context.shell.openFile(path, {}))#test_nothing_lost#anExportNoApplicationOpenedSaysWhereItWent"
  "export/SpreadsheetExport.cpp#    const double scale = std::min(1.0, height / natural.height());#    const double scale = height / natural.height();#test_office_exports#picturesKeepTheirShape"
  "preview/Decoding.cpp#            reader.setScaledSize(turned ? scaled.transposed() : scaled);#            reader.setScaledSize(scaled);#test_office_exports#picturesAreScaledCopies"
  "export/WorkbookPictures.cpp#mediaOfDigest_.emplace(digest,#mediaOfDigest_.emplace(digest + QByteArray::number(qsizetype(mediaOfPicture_.size())),#test_office_exports#aPictureInTwoRowsIsStoredOnce"
  "export/WorkbookPictures.cpp#stale.lastModified() < before#true#test_nothing_lost#theNextExportRemovesOldPartFiles"
  "pdf/UnicodeFonts.cpp#(rightToLeft || info\[i\].cluster == s.start + i)#true#test_pdf_unicode#shapedNamesAreSearchedAndCopiedAsWritten"
  "search/SearchCriteria.cpp#return SizeRange{down(\*n) + 1};#return SizeRange{down(*n)};#test_search_criteria#sizes"
  "search/SearchCriteria.cpp#return TimeRange{startOf(today)};#return TimeRange{startOf(today.addDays(-1))};#test_search_criteria#dates"
  "search/ContentsSearch.cpp#prefilter.distance = \*partner > anchor_ ? distance : -distance;#prefilter.distance = distance;#test_contents_search#theScanFindsWhatAPlainSearchFinds"
  "search/ContentsSearch.cpp#overlap_ = std::max(overlap_, texts_.back().longestOccurrence() - 1);#overlap_ = std::max(overlap_, texts_.back().longestOccurrence() - 2);#test_contents_search#aTextAcrossTwoReadsIsFound"
  "search/ContentsSearch.cpp#if (hits.lookIn(texts_, begin, nul ? static_cast<const char \*>(nul) : end))#if (hits.lookIn(texts_, begin, end))#test_contents_search#binaryFilesAreSkipped"
  "search/ContentsSearch.cpp#(u\[0\] == 0xFE \&\& u\[1\] == 0xFF))#false)#test_contents_search#utf16FilesWithAByteOrderMarkAreRead"
  "search/ContentsSearch.cpp#return c >= 'A' \&\& c <= 'Z' ? c + 0x20 : c;#return c;#test_contents_search#everyScriptIsFoundInAnyCase"
  "search/ContentsSearch.cpp#if (c < least || c > 0x10FFFF#if (c > 0x10FFFF#test_contents_search#theFirstAndTheLastBytesOfAFileCount everyScriptIsFoundInAnyCase"
  "platform/FolderEnumeration.cpp#|| !S_ISREG(st.st_mode))#)#test_contents_search#onlyPlainFilesAreOpened"
  "search/FolderScan.cpp#            if (status->isFolder || !range.holds(status->size))#            if (!range.holds(status->size))#test_finder#sizesAreMatchedAtTheirEdges"
  "search/FolderScan.cpp#            if (!status->isRegular)#            if (false)#test_finder#onlyFilesThatMatchEverythingElseAreOpened"
  "search/FolderScan.cpp#|| isDotEntry(e.name) || skipped(query, e))#|| isDotEntry(e.name))#test_finder#skippedFoldersAreNeverEntered"
  "search/FolderScan.cpp#!query.items\[item\].matches(name) || skipped(query, entries\[i\]))#!query.items[item].matches(name))#test_finder#skippedFoldersAreNeverEntered"
  "search/FolderScan.cpp#                if (listedAs\[i\].entry != kNotMet)#                if (true)#test_finder#aFileMatchingSeveralPatternsIsReadOnce"
  "search/SearchCommand.cpp#^            return;#            (void)0;#test_search_window#aTermThatDoesNotReadStartsNoSearch"
  "app/CommandLine.cpp#text.contains(split) || text.startsWith(quote);#text.contains(split);#test_command_line#criteriaOptionsBecomeTermsInTheField"
)

# With an argument, only the mutants whose line holds it (a file, a test).
if [ $# -gt 0 ]; then
  chosen=()
  for m in "${mutants[@]}"; do
    [[ "$m" == *"$1"* ]] && chosen+=("$m")
  done
  mutants=("${chosen[@]}")
fi

killed=0
survived=0
file=
# Stopped half way, the source is put back all the same.
trap '[ -n "$file" ] && [ -e "$file.orig" ] && cat "$file.orig" >"$file" && rm "$file.orig"; exit 130' INT TERM
for m in "${mutants[@]}"; do
  IFS='#' read -r file from to program functions <<<"$m"
  cp "$file" "$file.orig"
  sed -i "s%$from%$to%" "$file"
  if cmp -s "$file" "$file.orig"; then
    echo "NOT APPLIED: $file: $from"
    rm "$file.orig"
    continue
  fi
  if cmake --build build --target "$program" >/dev/null 2>&1 && \
     timeout 300 "build/tests/$program" $functions >/dev/null 2>&1; then
    echo "SURVIVED: $file: $from -> $to"
    survived=$((survived + 1))
  else
    echo "killed:   $file: $from -> $to"
    killed=$((killed + 1))
  fi
  # Put back by writing, not by renaming: the source must be newer than the
  # mutant's object file, or the build would keep the mutant.
  cat "$file.orig" >"$file" && rm "$file.orig"
done
cmake --build build >/dev/null 2>&1
echo "$killed killed, $survived survived, of $((killed + survived))"
[ "$survived" -eq 0 ]
