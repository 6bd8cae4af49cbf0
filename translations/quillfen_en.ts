<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>QFileDialog</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
</context>
<context>
    <name>qf::AboutDialog</name>
    <message>
        <source>バージョン情報 Quillfen</source>
        <translation>About Quillfen</translation>
    </message>
</context>
<context>
    <name>qf::ApplicationWindow</name>
    <message>
        <source>表示言語は、Quillfen を次に起動したときに切り替わります。</source>
        <translation>The new language takes effect the next time Quillfen starts.</translation>
    </message>
</context>
<context>
    <name>qf::AxisReasons</name>
    <message>
        <source>画像が小さすぎてグラフを含められません。</source>
        <translation>The picture is too small to hold a chart.</translation>
    </message>
    <message>
        <source>軸の線が見つかりません。</source>
        <translation>No axis lines were found.</translation>
    </message>
    <message>
        <source>水平と垂直の軸の線が角で交わっていません。</source>
        <translation>No horizontal and vertical axis lines meet at a corner.</translation>
    </message>
    <message>
        <source>見つかった軸の線が短すぎます。</source>
        <translation>The axis lines found are too short.</translation>
    </message>
    <message>
        <source>目盛りラベルを読み取れませんでした。</source>
        <translation>No tick labels could be read.</translation>
    </message>
    <message>
        <source>異なる値の目盛りラベルを 3 個以上読み取れませんでした。</source>
        <translation>Fewer than three different tick labels could be read.</translation>
    </message>
    <message>
        <source>線形目盛りでも対数目盛りでも、一致する目盛りラベルが 3 個未満です。</source>
        <translation>Fewer than three tick labels agree on a linear or logarithmic scale.</translation>
    </message>
    <message>
        <source>ほかのラベルが示す目盛りと合わないラベルが多すぎます。</source>
        <translation>Too many tick labels disagree with the scale the others give.</translation>
    </message>
    <message>
        <source>一致する目盛りラベルが通常と逆向きに並び、ほかのラベルとも合いません。</source>
        <translation>The tick labels that agree run against the usual direction, and others disagree.</translation>
    </message>
    <message>
        <source>目盛りラベルが右から左へ増える対数目盛りを示しています。</source>
        <translation>The tick labels give a logarithmic scale running from right to left.</translation>
    </message>
    <message>
        <source>目盛りラベルが上から下へ増える対数目盛りを示しています。</source>
        <translation>The tick labels give a logarithmic scale running from top to bottom.</translation>
    </message>
    <message>
        <source>軸の倍率またはオフセットを読み取れませんでした。</source>
        <translation>The axis&apos;s multiplier or offset could not be read.</translation>
    </message>
    <message>
        <source>目盛りラベルを読み取れません: </source>
        <translation>The tick labels cannot be read: </translation>
    </message>
    <message>
        <source>グラフの枠が見つかりません。</source>
        <translation>No frame of a chart was found.</translation>
    </message>
    <message>
        <source>グラフの枠が四角形になっていません。</source>
        <translation>The chart&apos;s frame is not a quadrilateral.</translation>
    </message>
    <message>
        <source>グラフの枠の隣り合う 2 辺が平行です。</source>
        <translation>Two neighbouring sides of the chart&apos;s frame are parallel.</translation>
    </message>
    <message>
        <source>グラフの 2 本の軸が平行です。</source>
        <translation>The chart&apos;s two axes are parallel.</translation>
    </message>
    <message>
        <source>グラフの枠に上辺と右辺がなく、目盛りからも傾きが分かりません。</source>
        <translation>The chart&apos;s frame has no top and right sides, and its ticks do not show its tilt.</translation>
    </message>
    <message>
        <source>グラフの枠の欠けた辺を置けません。</source>
        <translation>The missing sides of the chart&apos;s frame cannot be placed.</translation>
    </message>
    <message>
        <source>グラフの枠の辺をたどれませんでした。</source>
        <translation>A side of the chart&apos;s frame could not be followed.</translation>
    </message>
    <message>
        <source>見つかった 4 隅が凸四角形になりません。</source>
        <translation>The corners found do not make a convex quadrilateral.</translation>
    </message>
    <message>
        <source>目盛りラベルが斜めに書かれています。</source>
        <translation>The tick labels are written at a slant.</translation>
    </message>
    <message>
        <source>目盛りラベルが数値ではありません (名前や日付)。</source>
        <translation>The tick labels are not numbers (names or dates).</translation>
    </message>
</context>
<context>
    <name>qf::CaptureDialog</name>
    <message>
        <source>正の整数を入力してください。</source>
        <translation>Enter a positive whole number.</translation>
    </message>
    <message>
        <source>VideoCapture設定パラメータ</source>
        <translation>VideoCapture Settings</translation>
    </message>
    <message>
        <source>フレーム幅</source>
        <translation>Frame width</translation>
    </message>
    <message>
        <source>フレーム高</source>
        <translation>Frame height</translation>
    </message>
    <message>
        <source>フレームレート</source>
        <translation>Frame rate</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>qf::Commands</name>
    <message>
        <source>このプロジェクトを開く</source>
        <translation>Open this project</translation>
    </message>
    <message>
        <source>画像ファイルを開く(&amp;O)...</source>
        <translation>&amp;Open Picture...</translation>
    </message>
    <message>
        <source>既存の画像ファイルを開く</source>
        <translation>Open an existing picture file</translation>
    </message>
    <message>
        <source>画像ファイルを開く</source>
        <translation>Open Picture</translation>
    </message>
    <message>
        <source>元画像保存(&amp;A)...</source>
        <translation>Save &amp;Working Picture...</translation>
    </message>
    <message>
        <source>フィッティング元画像を保存</source>
        <translation>Save the working picture</translation>
    </message>
    <message>
        <source>元画像保存</source>
        <translation>Save Working Picture</translation>
    </message>
    <message>
        <source>印刷(&amp;P)...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>表示中のビューを印刷</source>
        <translation>Print the view as shown</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>生成グラフ画像保存...</source>
        <translation>Save Graph Picture...</translation>
    </message>
    <message>
        <source>生成グラフを画像ファイル保存...</source>
        <translation>Save the generated graph as a picture file...</translation>
    </message>
    <message>
        <source>生成グラフ画像保存</source>
        <translation>Save Graph Picture</translation>
    </message>
    <message>
        <source>新しいプロジェクト(&amp;N)</source>
        <translation>&amp;New Project</translation>
    </message>
    <message>
        <source>新しいプロジェクトを始める</source>
        <translation>Start a new project</translation>
    </message>
    <message>
        <source>新しいプロジェクト</source>
        <translation>New Project</translation>
    </message>
    <message>
        <source>プロジェクトを開く(&amp;J)...</source>
        <translation>Open Pro&amp;ject...</translation>
    </message>
    <message>
        <source>保存したプロジェクトを開く</source>
        <translation>Open a saved project</translation>
    </message>
    <message>
        <source>プロジェクトを開く</source>
        <translation>Open Project</translation>
    </message>
    <message>
        <source>プロジェクトを保存(&amp;V)</source>
        <translation>Sa&amp;ve Project</translation>
    </message>
    <message>
        <source>プロジェクトを上書き保存</source>
        <translation>Save the project</translation>
    </message>
    <message>
        <source>プロジェクトを保存</source>
        <translation>Save Project</translation>
    </message>
    <message>
        <source>名前を付けてプロジェクトを保存(&amp;M)...</source>
        <translation>Save Project &amp;As...</translation>
    </message>
    <message>
        <source>プロジェクトを新しい名前で保存</source>
        <translation>Save the project under a new name</translation>
    </message>
    <message>
        <source>名前を付けてプロジェクトを保存</source>
        <translation>Save Project As</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>直前の操作を元に戻す</source>
        <translation>Undo the last change</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>元に戻した操作をやり直す</source>
        <translation>Redo the change undone</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>選択した点を削除(&amp;D)</source>
        <translation>&amp;Delete Selected Point</translation>
    </message>
    <message>
        <source>選択したフィッティング元座標を削除</source>
        <translation>Delete the selected source point</translation>
    </message>
    <message>
        <source>選択した点を削除</source>
        <translation>Delete Selected Point</translation>
    </message>
    <message>
        <source>すべての点を削除(&amp;A)</source>
        <translation>Delete &amp;All Points</translation>
    </message>
    <message>
        <source>フィッティング元座標をすべて削除</source>
        <translation>Delete all source points</translation>
    </message>
    <message>
        <source>すべての点を削除</source>
        <translation>Delete All Points</translation>
    </message>
    <message>
        <source>アプリケーションの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>アプリケーションを終了し、ファイルの保存を指示</source>
        <translation>Quit the application; asks to save the work</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>入力画像</source>
        <translation>Input Picture</translation>
    </message>
    <message>
        <source>入力画像を表示</source>
        <translation>Show the input picture</translation>
    </message>
    <message>
        <source>画像処理出力</source>
        <translation>Processed Picture</translation>
    </message>
    <message>
        <source>マッピング実行後の画像を表示</source>
        <translation>Show the picture after the mapping</translation>
    </message>
    <message>
        <source>マッピング画像</source>
        <translation>Mapped Picture</translation>
    </message>
    <message>
        <source>生成グラフ</source>
        <translation>Generated Graph</translation>
    </message>
    <message>
        <source>フィッティングにより生成したグラフを表示</source>
        <translation>Show the graph generated by the fit</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>&amp;Show</translation>
    </message>
    <message>
        <source>画素グリッドを表示</source>
        <translation>Show the pixel grid</translation>
    </message>
    <message>
        <source>画素グリッド</source>
        <translation>Pixel Grid</translation>
    </message>
    <message>
        <source>色 ...</source>
        <translation>Colour...</translation>
    </message>
    <message>
        <source>画素グリッド色を変更</source>
        <translation>Change the colour of the pixel grid</translation>
    </message>
    <message>
        <source>画素グリッド色</source>
        <translation>Pixel Grid Colour</translation>
    </message>
    <message>
        <source>グレー画像化</source>
        <translation>Grey Picture</translation>
    </message>
    <message>
        <source>入力画像をグレー化</source>
        <translation>Turn the input picture grey</translation>
    </message>
    <message>
        <source>マッピング 元領域(４点指定)</source>
        <translation>Mapping Corners (4 Points)</translation>
    </message>
    <message>
        <source>マッピング 元領域を指定（入力画像表示時 有効）</source>
        <translation>Mark the area to map by its corners (with the input picture shown)</translation>
    </message>
    <message>
        <source>マッピング 実行</source>
        <translation>Run Mapping</translation>
    </message>
    <message>
        <source>元領域をグラフ領域ヘマッピング</source>
        <translation>Map the marked area onto the graph rectangle</translation>
    </message>
    <message>
        <source>マッピング グリッド表示</source>
        <translation>Show Mapping Grid</translation>
    </message>
    <message>
        <source>マッピング グリッドを表示</source>
        <translation>Show the mapping grid</translation>
    </message>
    <message>
        <source>マッピング領域グリッド</source>
        <translation>Mapping Grid</translation>
    </message>
    <message>
        <source>グラフ 領域(矩形指定)</source>
        <translation>Graph Rectangle</translation>
    </message>
    <message>
        <source>データ化するグラフ 領域を指定（出力画像表示時 有効）</source>
        <translation>Mark the graph&apos;s area to digitise (with the processed picture shown)</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>画像表示を拡大（マウスホイール）</source>
        <translation>Zoom the picture in (mouse wheel)</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>画像表示を縮小（マウスホイール）</source>
        <translation>Zoom the picture out (mouse wheel)</translation>
    </message>
    <message>
        <source>ウィンドウに合わせる</source>
        <translation>Fit to Window</translation>
    </message>
    <message>
        <source>画像全体をウィンドウに合わせて表示</source>
        <translation>Show the whole picture in the window</translation>
    </message>
    <message>
        <source>拡大鏡</source>
        <translation>Loupe</translation>
    </message>
    <message>
        <source>点の追加と角・辺の移動中、ポインタの周りを拡大して表示</source>
        <translation>While adding points or moving corners and edges, magnify the area around the pointer</translation>
    </message>
    <message>
        <source>デバイス ０</source>
        <translation>Device 0</translation>
    </message>
    <message>
        <source>撮像 開始/停止</source>
        <translation>Start or stop capturing</translation>
    </message>
    <message>
        <source>撮像 デバイス ０</source>
        <translation>Capture Device 0</translation>
    </message>
    <message>
        <source>デバイス １</source>
        <translation>Device 1</translation>
    </message>
    <message>
        <source>撮像 デバイス １</source>
        <translation>Capture Device 1</translation>
    </message>
    <message>
        <source>デバイス ２</source>
        <translation>Device 2</translation>
    </message>
    <message>
        <source>撮像 デバイス ２</source>
        <translation>Capture Device 2</translation>
    </message>
    <message>
        <source>デバイス ３</source>
        <translation>Device 3</translation>
    </message>
    <message>
        <source>撮像 デバイス ３</source>
        <translation>Capture Device 3</translation>
    </message>
    <message>
        <source>ビデオキャプチャー設定 ...</source>
        <translation>Video Capture Settings...</translation>
    </message>
    <message>
        <source>キャプチャ設定を変更</source>
        <translation>Change the capture settings</translation>
    </message>
    <message>
        <source>ビデオキャプチャー設定</source>
        <translation>Video Capture Settings</translation>
    </message>
    <message>
        <source>画像処理を１回実行</source>
        <translation>Process the Picture Once</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>フィッティング 元座標追加</source>
        <translation>Add Source Points</translation>
    </message>
    <message>
        <source>表示画像上マウスクリックでフィッティング元座標を追加</source>
        <translation>Click on the picture to add source points</translation>
    </message>
    <message>
        <source>フィッティング元座標追加</source>
        <translation>Add Source Points</translation>
    </message>
    <message>
        <source>フィッティング 元座標消去</source>
        <translation>Erase Source Points</translation>
    </message>
    <message>
        <source>フィッティング元座標をクリックで消去、マウスドラッグ領域内を消去</source>
        <translation>Click a source point to erase it, or drag to erase those inside an area</translation>
    </message>
    <message>
        <source>フィッティング元座標消去</source>
        <translation>Erase Source Points</translation>
    </message>
    <message>
        <source>フィッティング 元座標データ保存 ...</source>
        <translation>Save Source Points...</translation>
    </message>
    <message>
        <source>フィッティング元座標データを保存</source>
        <translation>Save the source points</translation>
    </message>
    <message>
        <source>フィッティング元座標データ保存</source>
        <translation>Save Source Points</translation>
    </message>
    <message>
        <source>フィッティング 実行</source>
        <translation>Run Fit</translation>
    </message>
    <message>
        <source>フィッティングを実行</source>
        <translation>Run the fit</translation>
    </message>
    <message>
        <source>生成グラフ 座標データ保存 ...</source>
        <translation>Save Generated Points...</translation>
    </message>
    <message>
        <source>生成グラフの座標データを保存</source>
        <translation>Save the points of the generated graph</translation>
    </message>
    <message>
        <source>生成グラフ座標データ保存</source>
        <translation>Save Generated Points</translation>
    </message>
    <message>
        <source>カスタマイズ...</source>
        <translation>Customize...</translation>
    </message>
    <message>
        <source>ステータス バー(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>ブルー スタイル(&amp;B)</source>
        <translation>&amp;Blue Style</translation>
    </message>
    <message>
        <source>ブラック スタイル(&amp;L)</source>
        <translation>B&amp;lack Style</translation>
    </message>
    <message>
        <source>シルバー スタイル(&amp;S)</source>
        <translation>&amp;Silver Style</translation>
    </message>
    <message>
        <source>アクア スタイル(&amp;A)</source>
        <translation>&amp;Aqua Style</translation>
    </message>
    <message>
        <source>システムの言語に従う (次回起動時に反映)</source>
        <translation>Follow the system&apos;s language (from the next start)</translation>
    </message>
    <message>
        <source>日本語で表示 (次回起動時に反映)</source>
        <translation>Show the window in Japanese (from the next start)</translation>
    </message>
    <message>
        <source>英語で表示 (次回起動時に反映)</source>
        <translation>Show the window in English (from the next start)</translation>
    </message>
    <message>
        <source>Quillfen ヘルプ(&amp;H)</source>
        <translation>Quillfen &amp;Help</translation>
    </message>
    <message>
        <source>使い方の説明を開く</source>
        <translation>Open the user&apos;s guide</translation>
    </message>
    <message>
        <source>Quillfen ヘルプ</source>
        <translation>Quillfen Help</translation>
    </message>
    <message>
        <source>バージョン情報 Quillfen(&amp;A)...</source>
        <translation>&amp;About Quillfen...</translation>
    </message>
    <message>
        <source>プログラム情報、バージョン、著作権を表示します。</source>
        <translation>Show the program&apos;s information, version and copyright.</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>最近使ったプロジェクト(&amp;R)</source>
        <translation>&amp;Recent Projects</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>画像処理</source>
        <translation>&amp;Picture</translation>
    </message>
    <message>
        <source>表示画像</source>
        <translation>Displayed Picture</translation>
    </message>
    <message>
        <source>撮像</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>フィッティング</source>
        <translation>F&amp;itting</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ツール バーとドッキング ウィンドウ(&amp;T)</source>
        <translation>&amp;Toolbars and Docking Windows</translation>
    </message>
    <message>
        <source>アプリケーションの外観(&amp;A)</source>
        <translation>Application &amp;Look</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>標準</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>ビデオキャプチャー</source>
        <translation>Video Capture</translation>
    </message>
    <message>
        <source>画像</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>レディ</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>曲線 自動抽出</source>
        <translation>Extract Curve</translation>
    </message>
    <message>
        <source>曲線をクリックすると、その色の曲線をたどって点を探します（出力画像表示時 有効）</source>
        <translation>Click a curve to follow the curve of that colour and find its points (with the processed picture shown)</translation>
    </message>
    <message>
        <source>抽出した点を追加</source>
        <translation>Add Extracted Points</translation>
    </message>
    <message>
        <source>自動抽出で見つかった点をフィッティング元座標に追加（Enter、Esc で取り消し）</source>
        <translation>Add the points the extraction found to the source points (Enter; Escape cancels)</translation>
    </message>
    <message>
        <source>フィッティング結果保存 (fit.json)...</source>
        <translation>Save Fit Results (fit.json)...</translation>
    </message>
    <message>
        <source>フィッティングの結果 (式、係数、残差) を fit.json 形式で保存</source>
        <translation>Save the fit&apos;s results (formula, coefficients, residuals) as fit.json</translation>
    </message>
    <message>
        <source>フィッティング結果保存 (fit.json)</source>
        <translation>Save Fit Results (fit.json)</translation>
    </message>
    <message>
        <source>目盛りで校正</source>
        <translation>Calibrate by Ticks</translation>
    </message>
    <message>
        <source>X 軸の目盛り 2 つと Y 軸の目盛り 2 つをクリックし、それぞれの値を入力して軸を校正（出力画像表示時 有効）</source>
        <translation>Click two ticks on the X axis and two on the Y axis and type their values to calibrate the axes (with the processed picture shown)</translation>
    </message>
    <message>
        <source>軸を自動認識</source>
        <translation>Read Axes</translation>
    </message>
    <message>
        <source>作業画像の枠と目盛りラベルを読み取り、軸の範囲と対数目盛りを設定</source>
        <translation>Read the working picture&apos;s frame and tick labels, and set the axes&apos; ranges and logarithmic scales</translation>
    </message>
    <message>
        <source>枠を自動検出</source>
        <translation>Detect Frame</translation>
    </message>
    <message>
        <source>入力画像からグラフの枠の 4 隅を探し、マッピングのコーナーをそこへ移動</source>
        <translation>Find the four corners of the chart&apos;s frame on the input picture and move the mapping&apos;s corners onto them</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>クリップボードの画像 (または画像ファイル) を開く</source>
        <translation>Open the picture (or picture file) on the clipboard</translation>
    </message>
    <message>
        <source>画像を貼り付け</source>
        <translation>Paste Picture</translation>
    </message>
    <message>
        <source>フィッティング 元座標データ読込 ...</source>
        <translation>Load Source Points...</translation>
    </message>
    <message>
        <source>保存したフィッティング元座標データを読み込んで点を置き換える</source>
        <translation>Replace the source points with those of a saved point file</translation>
    </message>
    <message>
        <source>フィッティング元座標データ読込</source>
        <translation>Load Source Points</translation>
    </message>
    <message>
        <source>すべての系列をフィット</source>
        <translation>Fit All Series</translation>
    </message>
    <message>
        <source>点のある系列をそれぞれの設定でフィッティング</source>
        <translation>Fit every series that has points, each with its own settings</translation>
    </message>
    <message>
        <source>すべての系列を抽出</source>
        <translation>Extract All Series</translation>
    </message>
    <message>
        <source>軸の範囲にある曲線を色ごとに探し、曲線ごとに系列を作る（クリック不要）</source>
        <translation>Find the curves inside the axes by colour and make a series of each (no click needed)</translation>
    </message>
    <message>
        <source>すべての系列を CSV に保存 ...</source>
        <translation>Save All Series as CSV...</translation>
    </message>
    <message>
        <source>すべての系列の点を 1 つの CSV ファイル (series, x, y) に保存</source>
        <translation>Save the points of every series in one CSV file (series, x, y)</translation>
    </message>
    <message>
        <source>すべての系列を CSV に保存</source>
        <translation>Save All Series as CSV</translation>
    </message>
    <message>
        <source>系列を追加</source>
        <translation>Add Series</translation>
    </message>
    <message>
        <source>新しい系列を追加して、点の追加先にする</source>
        <translation>Add a new series and make it the one points go into</translation>
    </message>
    <message>
        <source>系列の名前を変更...</source>
        <translation>Rename Series...</translation>
    </message>
    <message>
        <source>選択中の系列の名前を変更</source>
        <translation>Rename the active series</translation>
    </message>
    <message>
        <source>系列の名前を変更</source>
        <translation>Rename Series</translation>
    </message>
    <message>
        <source>系列の色を変更...</source>
        <translation>Series Colour...</translation>
    </message>
    <message>
        <source>選択中の系列の点と曲線の色を変更</source>
        <translation>Change the colour of the active series&apos; points and curve</translation>
    </message>
    <message>
        <source>系列の色を変更</source>
        <translation>Series Colour</translation>
    </message>
    <message>
        <source>系列を削除</source>
        <translation>Delete Series</translation>
    </message>
    <message>
        <source>選択中の系列をその点ごと削除</source>
        <translation>Delete the active series with its points</translation>
    </message>
    <message>
        <source>系列へ移動...</source>
        <translation>Move to Series...</translation>
    </message>
    <message>
        <source>選択した点を別の系列へ移動</source>
        <translation>Move the selected point to another series</translation>
    </message>
    <message>
        <source>系列へ移動</source>
        <translation>Move to Series</translation>
    </message>
    <message>
        <source>系列</source>
        <translation>Series</translation>
    </message>
</context>
<context>
    <name>qf::CustomizeDialog</name>
    <message>
        <source>カスタマイズ</source>
        <translation>Customize</translation>
    </message>
    <message>
        <source>ツール バーとボタン</source>
        <translation>Toolbars and buttons</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>すべてリセット</source>
        <translation>Reset All</translation>
    </message>
</context>
<context>
    <name>qf::Document</name>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
</context>
<context>
    <name>qf::Edits</name>
    <message>
        <source>設定の変更</source>
        <translation>Change Settings</translation>
    </message>
    <message>
        <source>コーナーの移動</source>
        <translation>Move Corner</translation>
    </message>
    <message>
        <source>領域の変更</source>
        <translation>Change Graph Rectangle</translation>
    </message>
    <message>
        <source>点の追加</source>
        <translation>Add Point</translation>
    </message>
    <message>
        <source>点の消去</source>
        <translation>Erase Points</translation>
    </message>
    <message>
        <source>曲線の自動抽出</source>
        <translation>Extract Curve</translation>
    </message>
    <message>
        <source>キーでの移動</source>
        <translation>Move by Key</translation>
    </message>
    <message>
        <source>画像を開く</source>
        <translation>Open Picture</translation>
    </message>
    <message>
        <source>マッピング 実行</source>
        <translation>Run Mapping</translation>
    </message>
    <message>
        <source>グレー画像化</source>
        <translation>Grey Picture</translation>
    </message>
    <message>
        <source>すべての点を削除</source>
        <translation>Delete All Points</translation>
    </message>
    <message>
        <source>点の削除</source>
        <translation>Delete Point</translation>
    </message>
    <message>
        <source>目盛りで校正</source>
        <translation>Calibrate by Ticks</translation>
    </message>
    <message>
        <source>軸の自動認識</source>
        <translation>Automatic Axis Reading</translation>
    </message>
    <message>
        <source>枠の自動検出</source>
        <translation>Detect frame</translation>
    </message>
    <message>
        <source>画像の貼り付け</source>
        <translation>Paste Picture</translation>
    </message>
    <message>
        <source>元座標データを読み込む</source>
        <translation>Load Source Points</translation>
    </message>
    <message>
        <source>系列の選択</source>
        <translation>Choose Series</translation>
    </message>
    <message>
        <source>系列の追加</source>
        <translation>Add Series</translation>
    </message>
    <message>
        <source>系列の名前の変更</source>
        <translation>Rename Series</translation>
    </message>
    <message>
        <source>系列の色の変更</source>
        <translation>Recolour Series</translation>
    </message>
    <message>
        <source>系列の削除</source>
        <translation>Delete Series</translation>
    </message>
    <message>
        <source>点の系列の移動</source>
        <translation>Move Point to Series</translation>
    </message>
    <message>
        <source>すべての系列の抽出</source>
        <translation>Extract All Series</translation>
    </message>
</context>
<context>
    <name>qf::FileDialogs</name>
    <message>
        <source>プロジェクトを開く</source>
        <translation>Open Project</translation>
    </message>
    <message>
        <source>Quillfen プロジェクト (*.quillfen.json);;JSON (*.json);;All Files (*)</source>
        <translation>Quillfen Projects (*.quillfen.json);;JSON (*.json);;All Files (*)</translation>
    </message>
    <message>
        <source>プロジェクトを保存</source>
        <translation>Save Project</translation>
    </message>
    <message>
        <source>Quillfen プロジェクト (*.quillfen.json)</source>
        <translation>Quillfen Projects (*.quillfen.json)</translation>
    </message>
    <message>
        <source>Open Image File</source>
        <translation>Open Image File</translation>
    </message>
    <message>
        <source>Save Image File</source>
        <translation>Save Image File</translation>
    </message>
    <message>
        <source>BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;All Files (*)</source>
        <translation>BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;All Files (*)</translation>
    </message>
    <message>
        <source>CSV(*.csv);;TEXT(*.txt);;ALL(*)</source>
        <translation>CSV(*.csv);;TEXT(*.txt);;ALL(*)</translation>
    </message>
    <message>
        <source>JSON (*.json);;All Files (*)</source>
        <translation>JSON (*.json);;All Files (*)</translation>
    </message>
    <message>
        <source>Image Files (*.bmp *.jpg *.png *.tif *.pdf);;BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;PDF (*.pdf)</source>
        <translation>Image Files (*.bmp *.jpg *.png *.tif *.pdf);;BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;PDF (*.pdf)</translation>
    </message>
    <message>
        <source>貼り付けた画像を保存</source>
        <translation>Save Pasted Picture</translation>
    </message>
    <message>
        <source>PNG (*.png)</source>
        <translation>PNG (*.png)</translation>
    </message>
    <message>
        <source>CSV(*.csv);;CSV (UTF-8)(*.csv);;TEXT(*.txt);;ALL(*)</source>
        <translation>CSV(*.csv);;CSV (UTF-8)(*.csv);;TEXT(*.txt);;ALL(*)</translation>
    </message>
</context>
<context>
    <name>qf::FormulaCopyBar</name>
    <message>
        <source>コピー:</source>
        <translation>Copy:</translation>
    </message>
    <message>
        <source>式</source>
        <translation>Formula</translation>
    </message>
    <message>
        <source>表計算</source>
        <translation>Spreadsheet</translation>
    </message>
</context>
<context>
    <name>qf::HelpWindow</name>
    <message>
        <source>Quillfen ヘルプ</source>
        <translation>Quillfen Help</translation>
    </message>
</context>
<context>
    <name>qf::ImageView</name>
    <message>
        <source>点の一覧が一杯のため、抽出した %1 点のうち %2 点だけを追加しました。</source>
        <translation>The point list is full: of the %1 points extracted, only %2 were added.</translation>
    </message>
    <message>
        <source>%1 点が見つかりました。Enter キーで追加、Esc キーで取り消します。</source>
        <translation>%1 points found. Enter adds them, Esc drops them.</translation>
    </message>
    <message>
        <source>四隅が平行四辺形ではありません。斜めに撮った写真は「射影変換」の方が正確にまっすぐになります。</source>
        <translation>The corners are not a parallelogram: a photo taken at a slant is straightened more accurately by the Perspective mapping.</translation>
    </message>
    <message>
        <source>X 軸の目盛りをクリックしてください (%1/4)。</source>
        <translation>Click a tick on the X axis (%1/4).</translation>
    </message>
    <message>
        <source>Y 軸の目盛りをクリックしてください (%1/4)。</source>
        <translation>Click a tick on the Y axis (%1/4).</translation>
    </message>
    <message>
        <source>目盛りで校正</source>
        <translation>Calibrate by Ticks</translation>
    </message>
    <message>
        <source>この X 軸の目盛りの値 (%1/4):</source>
        <translation>Value of this X-axis tick (%1/4):</translation>
    </message>
    <message>
        <source>この Y 軸の目盛りの値 (%1/4):</source>
        <translation>Value of this Y-axis tick (%1/4):</translation>
    </message>
    <message>
        <source>目盛りでの校正を最初からやり直します。X 軸の目盛りをクリックしてください (1/4)。</source>
        <translation>Calibration by ticks starts again. Click a tick on the X axis (1/4).</translation>
    </message>
    <message>
        <source>数値を入力してください。</source>
        <translation>Enter a number.</translation>
    </message>
    <message>
        <source>X 軸: </source>
        <translation>X axis: </translation>
    </message>
    <message>
        <source>Y 軸: </source>
        <translation>Y axis: </translation>
    </message>
    <message>
        <source>
軸の値は変えていません。</source>
        <translation>
The axis values are unchanged.</translation>
    </message>
    <message>
        <source>目盛りから X 軸と Y 軸の値を設定しました。</source>
        <translation>The X and Y axis values are set from the ticks.</translation>
    </message>
    <message>
        <source>X 軸と Y 軸を読み取れませんでした: </source>
        <translation>The X and Y axes could not be read: </translation>
    </message>
    <message>
        <source>X 軸を読み取れませんでした: </source>
        <translation>The X axis could not be read: </translation>
    </message>
    <message>
        <source>Y 軸を読み取れませんでした: </source>
        <translation>The Y axis could not be read: </translation>
    </message>
    <message>
        <source>
軸は変えていません。</source>
        <translation>
The axes have not been changed.</translation>
    </message>
    <message>
        <source>X 軸 %1 個、Y 軸 %2 個の目盛りラベルから校正しました。</source>
        <translation>Calibrated from %1 tick labels on the X axis and %2 on the Y axis.</translation>
    </message>
    <message>
        <source>次は軸の値です: 「軸を自動認識」を実行するか、設定ペインで X と Y の最小・最大を入力するか、「目盛りで校正」で目盛りを 4 つクリックします。</source>
        <translation>Next, the axis values: run Read Axes, type X and Y min and max in the settings pane, or choose Calibrate by Ticks and click four ticks.</translation>
    </message>
    <message>
        <source>枠を検出できませんでした: </source>
        <translation>The frame could not be detected: </translation>
    </message>
    <message>
        <source> コーナーは変えていません。</source>
        <translation> The corners were not changed.</translation>
    </message>
    <message>
        <source>コーナーをグラフの枠の 4 隅に置きました。「マッピング 実行」で補正します。</source>
        <translation>The corners were placed on the four corners of the chart&apos;s frame. Run the mapping to straighten it.</translation>
    </message>
    <message>
        <source>日付を入力してください (2024-02-29 など)。</source>
        <translation>Enter a date (such as 2024-02-29).</translation>
    </message>
</context>
<context>
    <name>qf::Messages</name>
    <message>
        <source>&lt;エラー %1&gt; </source>
        <translation>&lt;Error %1&gt; </translation>
    </message>
    <message>
        <source>グラフ作製データ数？ ( &gt;2 )        <byte value="xd"/>
</source>
        <translation>Number of points for the graph? ( &gt;2 )        <byte value="xd"/>
</translation>
    </message>
    <message>
        <source>LogX軸: Xmin, Xmax が0以下です        <byte value="xd"/>
</source>
        <translation>Log X axis: Xmin or Xmax is 0 or less        <byte value="xd"/>
</translation>
    </message>
    <message>
        <source>LogY軸: Ymin, Ymax が0以下です        <byte value="xd"/>
</source>
        <translation>Log Y axis: Ymin or Ymax is 0 or less        <byte value="xd"/>
</translation>
    </message>
    <message>
        <source>指数関数積 y=exp(A0)*exp(A1*x)*... 選択時、Y軸対数 不可です        <byte value="xd"/>
</source>
        <translation>The product of exponentials y=exp(A0)*exp(A1*x)*... cannot be used with a logarithmic Y axis        <byte value="xd"/>
</translation>
    </message>
    <message>
        <source>任意関数 f0(x)～f5(x) の式が長すぎます ( 区切りを含め 2045 バイトまで )        <byte value="xd"/>
</source>
        <translation>The formulas of f0(x) to f5(x) are too long ( at most 2045 bytes with the separators )        <byte value="xd"/>
</translation>
    </message>
    <message>
        <source>インタープリタ エラー<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation>Interpreter error<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>任意関数 f0(x)～f5(x) に式がありません        <byte value="xd"/>
</source>
        <translation>The functions f0(x) to f5(x) have no formula        <byte value="xd"/>
</translation>
    </message>
    <message>
        <source>最小2乗法&#x3000;実行エラー<byte value="xd"/>
</source>
        <translation>Least squares: run error<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>元の単位の式 (正規化を戻した係数)<byte value="xd"/>
</source>
        <translation>Formula in the original units (coefficients with the normalisation undone)<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>  f0 ... f5 は上の式。Python や表計算の形にはしません<byte value="xd"/>
</source>
        <translation>  f0 ... f5 are the formulas above; not written for Python or a spreadsheet<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>表計算 (x はセル A1)<byte value="xd"/>
</source>
        <translation>Spreadsheet (x in cell A1)<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>  (x = %1 では逆べきの代わりに 1E+024 を使って曲線を生成しています)<byte value="xd"/>
</source>
        <translation>  (at x = %1 the curve is generated with 1E+024 in place of the inverse power)<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>係数<byte value="xd"/>
</source>
        <translation>Coefficients<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>  (べき %1)</source>
        <translation>  (power %1)</translation>
    </message>
    <message>
        <source>当てはまり (%1 で計算)<byte value="xd"/>
</source>
        <translation>Goodness of fit (computed on %1)<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>- (すべての点が同じ値)</source>
        <translation>- (all points have the same value)</translation>
    </message>
    <message>
        <source>  最大残差 = %1 (点 %2)<byte value="xd"/>
</source>
        <translation>  Largest residual = %1 (point %2)<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>  点の数 = %1、係数の数 = %2</source>
        <translation>  Points = %1, coefficients = %2</translation>
    </message>
    <message>
        <source>、ランク = %1 (特異値 %2 個を 0 としました)</source>
        <translation>, rank = %1 (%2 singular values set to 0)</translation>
    </message>
    <message>
        <source>点ごとの残差 (観測値 - 式)<byte value="xd"/>
</source>
        <translation>Residual of each point (observed - formula)<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>  No.,残差<byte value="xd"/>
</source>
        <translation>  No.,Residual<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Save image failed:
80004005</source>
        <translation>Save image failed:
80004005</translation>
    </message>
    <message>
        <source>cv::VideoCapture(%1)<byte value="xd"/>
デバイス %1 オープンできません<byte value="xd"/>
</source>
        <translation>cv::VideoCapture(%1)<byte value="xd"/>
Device %1 cannot be opened<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>カメラ モジュールを読み込めません: %1<byte value="xd"/>
</source>
        <translation>The camera module cannot be loaded: %1<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>カメラ入力を中断しました。<byte value="xd"/>
カメラ入力を再開して下さい。<byte value="xd"/>
</source>
        <translation>The camera input was interrupted.<byte value="xd"/>
Start the camera input again.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Unable to Open File. </source>
        <translation>Unable to Open File. </translation>
    </message>
    <message>
        <source>倍率 %1</source>
        <translation>Zoom %1</translation>
    </message>
    <message>
        <source> (対数)</source>
        <translation> (log)</translation>
    </message>
    <message>
        <source>%1 へのアクセスは拒否されました。</source>
        <translation>Access to %1 was denied.</translation>
    </message>
    <message>
        <source>%1 は使用中または読み取り専用のため、書き込めません。</source>
        <translation>%1 cannot be written: it is in use or read-only.</translation>
    </message>
    <message>
        <source>%1 に書き込めませんでした。
%2</source>
        <translation>%1 could not be written.
%2</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>The file was not found.</translation>
    </message>
    <message>
        <source>ファイルを読み取る権限がありません。</source>
        <translation>There is no permission to read the file.</translation>
    </message>
    <message>
        <source>フォルダーです。画像ファイルを選んでください。</source>
        <translation>This is a folder. Choose a picture file.</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>This is not a regular file.</translation>
    </message>
    <message>
        <source>画像として読み込めませんでした（壊れているか、対応していない形式です）。</source>
        <translation>It could not be read as a picture (it is damaged or in a format not supported).</translation>
    </message>
    <message>
        <source>画像が大きすぎます: %1 × %2 ピクセル（%3 メガピクセル）。上限は %4 メガピクセルです（設定 Workspace/%5 で変更できます）。</source>
        <translation>The picture is too large: %1 × %2 pixels (%3 megapixels). The limit is %4 megapixels (the setting Workspace/%5 changes it).</translation>
    </message>
    <message>
        <source>ファイル名に使えない文字が含まれています。</source>
        <translation>The file name holds a character that file names cannot have.</translation>
    </message>
    <message>
        <source>&lt;n次多項式&gt;</source>
        <translation>&lt;Polynomial of degree n&gt;</translation>
    </message>
    <message>
        <source>&lt;指数関数積&gt;</source>
        <translation>&lt;Product of exponentials&gt;</translation>
    </message>
    <message>
        <source>&lt;任意関数 線型和&gt;</source>
        <translation>&lt;Sum of functions&gt;</translation>
    </message>
    <message>
        <source>X 正規化係数 Nx</source>
        <translation>X normalisation factor Nx</translation>
    </message>
    <message>
        <source>Y 正規化係数 Ny</source>
        <translation>Y normalisation factor Ny</translation>
    </message>
    <message>
        <source>次数 n</source>
        <translation>Degree n</translation>
    </message>
    <message>
        <source>曲線が軸の矩形の中にほとんどありません。曲線が軸の矩形の中を通る所をクリックしてください。</source>
        <translation>Hardly any of the curve is inside the axis rectangle. Click where the curve runs inside the axis rectangle.</translation>
    </message>
    <message>
        <source>曲線は %1 列にしかなく、%2 点を置けません。「点の数」を減らしてください。</source>
        <translation>The curve spans only %1 columns, too few for %2 points. Lower &quot;Points&quot;.</translation>
    </message>
    <message>
        <source>曲線の途切れが長く、%1 点を置けません。「途切れの橋渡し」を広げるか「点の数」を減らしてください。</source>
        <translation>The curve&apos;s gaps are too long to place %1 points. Raise &quot;Gap bridging&quot; or lower &quot;Points&quot;.</translation>
    </message>
    <message>
        <source>画像がありません。</source>
        <translation>There is no picture.</translation>
    </message>
    <message>
        <source>軸の矩形が画像の上にありません。</source>
        <translation>The axis rectangle is not on the picture.</translation>
    </message>
    <message>
        <source>クリックした点が軸の矩形の外です。軸の矩形の中の曲線をクリックしてください。</source>
        <translation>The click is outside the axis rectangle. Click the curve inside the axis rectangle.</translation>
    </message>
    <message>
        <source>クリックした所の近くに曲線の色が見つかりません。曲線の上をクリックしてください。</source>
        <translation>No curve colour was found near the click. Click on the curve.</translation>
    </message>
    <message>
        <source>マーカーが %1 個見つかりました。フィッティングで使える %2 個を等間隔に選びました。</source>
        <translation>%1 markers were found; %2, the most a fit takes, were chosen evenly among them.</translation>
    </message>
    <message>
        <source>曲線の自動抽出を中止しました。</source>
        <translation>The curve extraction was cancelled.</translation>
    </message>
    <message>
        <source>クリックした色が軸の矩形の大部分を占めていて、曲線ではありません。曲線の上をクリックするか「色の許容差」を小さくしてください。</source>
        <translation>The clicked colour covers much of the axis rectangle: it is not a curve. Click on a curve, or lower &quot;Colour tolerance&quot;.</translation>
    </message>
    <message>
        <source>%1 dpi ではページが大きすぎます: %2 × %3 ピクセル（%4 メガピクセル）。上限は %5 メガピクセルです（設定 Workspace/%6 で変更できます）。</source>
        <translation>The page is too large at %1 dpi: %2 × %3 pixels (%4 megapixels). The limit is %5 megapixels (the setting Workspace/%6 changes it). </translation>
    </message>
    <message>
        <source>%1 dpi 以下で開いてください。</source>
        <translation>Open it at %1 dpi or less.</translation>
    </message>
    <message>
        <source>PDF ファイルではありません。</source>
        <translation>It is not a PDF file.</translation>
    </message>
    <message>
        <source>PDF を読むモジュールを読み込めませんでした（%1）。</source>
        <translation>The module that reads PDF files could not be loaded (%1).</translation>
    </message>
    <message>
        <source>パスワードで保護された PDF です。パスワードを外してから開いてください。</source>
        <translation>The PDF is protected by a password. Remove the password, then open it.</translation>
    </message>
    <message>
        <source>PDF が壊れていて読み込めません。</source>
        <translation>The PDF is damaged and cannot be read.</translation>
    </message>
    <message>
        <source>ページ %1 はありません（この PDF は %2 ページです）。</source>
        <translation>There is no page %1 (this PDF has %2 pages).</translation>
    </message>
    <message>
        <source>解像度 %1 dpi では開けません。%2〜%3 dpi で指定してください。</source>
        <translation>A resolution of %1 dpi cannot be used. Choose %2 to %3 dpi.</translation>
    </message>
    <message>
        <source>ページ %1 を描画できませんでした。</source>
        <translation>Page %1 could not be rendered.</translation>
    </message>
    <message>
        <source>2 つの目盛りが同じ位置です。離れた目盛りを選んでください。</source>
        <translation>The two ticks are at the same place. Choose ticks further apart.</translation>
    </message>
    <message>
        <source>2 つの目盛りには異なる値を入力してください。</source>
        <translation>Give the two ticks different values.</translation>
    </message>
    <message>
        <source>対数軸の目盛りの値は正の数でなければなりません。</source>
        <translation>Ticks on a logarithmic axis must have positive values.</translation>
    </message>
    <message>
        <source>目盛りから求めた軸の値が大きすぎます。</source>
        <translation>The axis values the ticks give are too large.</translation>
    </message>
    <message>
        <source>%1 行目の見出しに H と V の列がありません。</source>
        <translation>The header on line %1 has no H and V columns.</translation>
    </message>
    <message>
        <source>%1 行目は点の行ではありません (H と V に整数の画素位置が要ります)。</source>
        <translation>Line %1 is not a point (H and V must be whole pixel positions).</translation>
    </message>
    <message>
        <source>%1 行目: 点は 256 個までです。</source>
        <translation>Line %1: at most 256 points.</translation>
    </message>
    <message>
        <source>ファイルに点がありません。</source>
        <translation>The file holds no points.</translation>
    </message>
    <message>
        <source>%1: %2 からの日数</source>
        <translation>%1: days since %2</translation>
    </message>
</context>
<context>
    <name>qf::OutputPane</name>
    <message>
        <source>画像入力 : 画像ファイルドロップ対応</source>
        <translation>Picture input: drop a picture file on the window</translation>
    </message>
    <message>
        <source>マウス 右ボタン＋ドラッグ : 画像ドラッグ</source>
        <translation>Right mouse button + drag: move the picture</translation>
    </message>
    <message>
        <source>マウス ホイール           : 画像拡大／縮小</source>
        <translation>Mouse wheel: zoom the picture in or out</translation>
    </message>
    <message>
        <source>フィッティング設定の変更はフォーカスを失ったときに反映（他をクリック)</source>
        <translation>A change in the fit settings applies when its field loses the focus (click elsewhere)</translation>
    </message>
    <message>
        <source>任意関数 f0(x)～f5(x) 以下 演算 関数 使用可能</source>
        <translation>The functions f0(x) to f5(x) may use the operators and functions below</translation>
    </message>
    <message>
        <source>実行中のエラーは無視 （ 0除算→1E+24、sqrt(負値)→0、log(0以下値)→-1E+24 ）</source>
        <translation>Errors while running are ignored (division by 0 -&gt; 1E+24, sqrt(negative) -&gt; 0, log(0 or less) -&gt; -1E+24)</translation>
    </message>
    <message>
        <source>    x**y        raise x to the power of y. &lt;pow(x,y)と同じ&gt;</source>
        <translation>    x**y        raise x to the power of y. &lt;same as pow(x,y)&gt;</translation>
    </message>
    <message>
        <source>出力</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>フィッティング出力</source>
        <translation>Fit Output</translation>
    </message>
    <message>
        <source>フィッティング元座標</source>
        <translation>Source Points</translation>
    </message>
    <message>
        <source>生成グラフ座標データ</source>
        <translation>Generated Graph Points</translation>
    </message>
    <message>
        <source>残差</source>
        <translation>Residual</translation>
    </message>
    <message>
        <source>表をコピー(&amp;C)</source>
        <translation>&amp;Copy Table</translation>
    </message>
</context>
<context>
    <name>qf::PdfPageDialog</name>
    <message>
        <source>PDF のページを選ぶ</source>
        <translation>Choose a PDF Page</translation>
    </message>
    <message>
        <source>%1（%2 ページ）: グラフのあるページを選んでください。</source>
        <translation>%1 (%2 pages): choose the page with the chart.</translation>
    </message>
    <message>
        <source>解像度:</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 × %2 ピクセル（%3 メガピクセル）</source>
        <translation>%1 × %2 pixels (%3 megapixels)</translation>
    </message>
    <message>
        <source>%1 は上限の %2 メガピクセルを超えます。</source>
        <translation>%1 is over the limit of %2 megapixels. </translation>
    </message>
    <message>
        <source>%1 dpi 以下にしてください。</source>
        <translation>Choose %1 dpi or less.</translation>
    </message>
</context>
<context>
    <name>qf::ProjectController</name>
    <message>
        <source>%1 への変更を保存しますか?</source>
        <translation>Save the changes to %1?</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>保存しない(&amp;N)</source>
        <translation>Do&amp;n&apos;t Save</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>プロジェクトを開けませんでした。
</source>
        <translation>The project could not be opened.
</translation>
    </message>
    <message>
        <source>作業を復元できませんでした。
</source>
        <translation>The work could not be recovered.
</translation>
    </message>
    <message>
        <source>プロジェクト %1 の画像を開けませんでした。
</source>
        <translation>The picture of the project %1 could not be opened.
</translation>
    </message>
    <message>
        <source>%1 個の点があります。新しい画像でも点を残しますか?
(同じグラフを撮り直した場合は「点を残す」を選びます)</source>
        <translation>There are %1 points. Keep them with the new picture?
(Choose &quot;Keep Points&quot; for a new photo of the same chart.)</translation>
    </message>
    <message>
        <source>点を残す(&amp;K)</source>
        <translation>&amp;Keep Points</translation>
    </message>
    <message>
        <source>新しいプロジェクト(&amp;N)</source>
        <translation>&amp;New Project</translation>
    </message>
    <message>
        <source>画像がないため、プロジェクトを保存できません。</source>
        <translation>The project cannot be saved: there is no picture.</translation>
    </message>
    <message>
        <source>プロジェクトを保存できませんでした。
</source>
        <translation>The project could not be saved.
</translation>
    </message>
    <message>
        <source>(なし)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>プロジェクトの曲線を自動抽出できませんでした。
</source>
        <translation>The project&apos;s curve could not be extracted.
</translation>
    </message>
    <message>
        <source>元に戻す: %1(&amp;U)</source>
        <translation>&amp;Undo: %1</translation>
    </message>
    <message>
        <source>元に戻す: %1</source>
        <translation>Undo: %1</translation>
    </message>
    <message>
        <source>やり直し: %1(&amp;R)</source>
        <translation>&amp;Redo: %1</translation>
    </message>
    <message>
        <source>やり直し: %1</source>
        <translation>Redo: %1</translation>
    </message>
    <message>
        <source>貼り付けた画像</source>
        <translation>Pasted picture</translation>
    </message>
    <message>
        <source>クリップボードに画像も画像ファイルもありません。</source>
        <translation>The clipboard holds neither a picture nor a picture file.</translation>
    </message>
    <message>
        <source>貼り付けた画像を開けませんでした。
</source>
        <translation>The pasted picture could not be opened.
</translation>
    </message>
    <message>
        <source>貼り付けた画像を保存できませんでした。
</source>
        <translation>The pasted picture could not be saved.
</translation>
    </message>
</context>
<context>
    <name>qf::RecoveryStore</name>
    <message>
        <source>前回、保存されずに終了した作業があります (%1、%2)。
復元しますか?</source>
        <translation>Work from the last session was not saved (%1, %2).
Recover it?</translation>
    </message>
    <message>
        <source>復元する(&amp;R)</source>
        <translation>&amp;Recover</translation>
    </message>
    <message>
        <source>破棄(&amp;D)</source>
        <translation>&amp;Discard</translation>
    </message>
    <message>
        <source>後で(&amp;L)</source>
        <translation>&amp;Later</translation>
    </message>
    <message>
        <source>回復用ファイル %1 は他のユーザーのものです。復元には使いません。</source>
        <translation>The recovery file %1 belongs to another user. It is not offered.</translation>
    </message>
    <message>
        <source>回復用ファイル %1 は他のユーザーも書き込めます。復元には使いません。</source>
        <translation>Other users can write to the recovery file %1. It is not offered.</translation>
    </message>
    <message>
        <source>壊れた回復用ファイルを削除しました: %1</source>
        <translation>Removed a damaged recovery file: %1</translation>
    </message>
    <message>
        <source>回復用フォルダ %1 はシンボリックリンクです。</source>
        <translation>The recovery folder %1 is a symbolic link.</translation>
    </message>
    <message>
        <source>回復用フォルダ %1 はフォルダではありません。</source>
        <translation>The recovery folder %1 is not a folder.</translation>
    </message>
    <message>
        <source>回復用フォルダ %1 を開けません: %2</source>
        <translation>The recovery folder %1 cannot be opened: %2</translation>
    </message>
    <message>
        <source>回復用フォルダ %1 は他のユーザーのものです。</source>
        <translation>The recovery folder %1 belongs to another user.</translation>
    </message>
    <message>
        <source>保存していない作業の控えは残しません。</source>
        <translation>No copy of unsaved work is kept.</translation>
    </message>
    <message>
        <source>貼り付けた画像は一時フォルダに置きました。異常終了すると失われます。プロジェクトを保存すると、画像もプロジェクトの隣に保存されます。</source>
        <translation>The pasted picture is kept in a temporary folder and would be lost if the program ended abnormally. Saving the project saves the picture beside it.</translation>
    </message>
</context>
<context>
    <name>qf::ResultsController</name>
    <message>
        <source>印刷できませんでした。</source>
        <translation>Printing failed.</translation>
    </message>
    <message>
        <source>点 %1 (H %2, V %3) は画像 (%4 × %5) の外にあります。</source>
        <translation>Point %1 (H %2, V %3) lies outside the picture (%4 × %5).</translation>
    </message>
    <message>
        <source>フィッティング元座標データを読み込めませんでした。
%1
%2</source>
        <translation>The source points could not be loaded.
%1
%2</translation>
    </message>
    <message>
        <source>
CSV (UTF-8) で保存すれば、すべての文字を書けます。</source>
        <translation>
Saved as CSV (UTF-8), every character can be written.</translation>
    </message>
    <message>
        <source>%1 個の系列をフィットしました。</source>
        <translation>Fitted %1 series.</translation>
    </message>
</context>
<context>
    <name>qf::Series</name>
    <message>
        <source>黒</source>
        <translation>black</translation>
    </message>
    <message>
        <source>白</source>
        <translation>white</translation>
    </message>
    <message>
        <source>灰色</source>
        <translation>grey</translation>
    </message>
    <message>
        <source>茶</source>
        <translation>brown</translation>
    </message>
    <message>
        <source>赤</source>
        <translation>red</translation>
    </message>
    <message>
        <source>オレンジ</source>
        <translation>orange</translation>
    </message>
    <message>
        <source>オリーブ</source>
        <translation>olive</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>yellow</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>green</translation>
    </message>
    <message>
        <source>シアン</source>
        <translation>cyan</translation>
    </message>
    <message>
        <source>青</source>
        <translation>blue</translation>
    </message>
    <message>
        <source>紫</source>
        <translation>purple</translation>
    </message>
    <message>
        <source>ピンク</source>
        <translation>pink</translation>
    </message>
    <message>
        <source>マゼンタ</source>
        <translation>magenta</translation>
    </message>
    <message>
        <source>系列</source>
        <translation>Series</translation>
    </message>
    <message>
        <source>点の追加と抽出、フィッティングの対象の系列</source>
        <translation>The series that points are added and extracted into, and that is fitted</translation>
    </message>
    <message>
        <source>%1 (%2 点)</source>
        <translation>%1 (%2 points)</translation>
    </message>
    <message>
        <source>これ以上系列を追加できません。</source>
        <translation>No more series can be added.</translation>
    </message>
    <message>
        <source>系列の名前を変更</source>
        <translation>Rename Series</translation>
    </message>
    <message>
        <source>「%1」の新しい名前:</source>
        <translation>New name of &quot;%1&quot;:</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>点 %1 をどの系列へ移動しますか?</source>
        <translation>Move point %1 to which series?</translation>
    </message>
    <message>
        <source>移動先の系列の点の一覧が一杯です。</source>
        <translation>The point list of that series is full.</translation>
    </message>
    <message>
        <source>軸の範囲に曲線が見つかりませんでした。</source>
        <translation>No curves were found inside the axes.</translation>
    </message>
    <message>
        <source>%1 個の系列を抽出しました。</source>
        <translation>Extracted %1 series.</translation>
    </message>
    <message>
        <source> 同じ色の曲線があります。交差するところは、それぞれの曲線を「曲線 自動抽出」でクリックして確かめてください。</source>
        <translation> Some curves share a colour: where they cross, check each by clicking it with Extract Curve.</translation>
    </message>
    <message>
        <source>系列: %1</source>
        <translation>Series: %1</translation>
    </message>
    <message>
        <source>系列 %1</source>
        <translation>Series %1</translation>
    </message>
</context>
<context>
    <name>qf::SettingsGrid</name>
    <message>
        <source>なし (最近傍)</source>
        <translation>None (nearest)</translation>
    </message>
    <message>
        <source>双一次補間</source>
        <translation>Bilinear</translation>
    </message>
    <message>
        <source>既定値</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>その他...</source>
        <translation>Other...</translation>
    </message>
    <message>
        <source>曲線 自動抽出</source>
        <translation>Extract Curve</translation>
    </message>
    <message>
        <source>色の許容差</source>
        <translation>Colour tolerance</translation>
    </message>
    <message>
        <source>クリックした曲線の色とみなす色の差 (1 ... 255)
小さいと他の色の線を拾わず、大きいと写真のにじんだ線も拾います</source>
        <translation>How far a colour may be from the clicked curve&apos;s and still count as the curve (1 ... 255)
Small: lines of other colours are left out; large: the blurred lines of a photograph are taken too</translation>
    </message>
    <message>
        <source>点の数</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>線の曲線に等間隔に置く点の数 (1 ... 128)
マーカーの系列はマーカー1個に1点です</source>
        <translation>How many points are placed evenly along a line curve (1 ... 128)
A series of markers gives one point per marker</translation>
    </message>
    <message>
        <source>途切れの橋渡し</source>
        <translation>Gap bridging</translation>
    </message>
    <message>
        <source>破線や点線の途切れをつなぐ最大の長さ (画素、1 ... 100)</source>
        <translation>The longest gap of a dashed or dotted line that is bridged (pixels, 1 ... 100)</translation>
    </message>
    <message>
        <source>&lt;n次多項式&gt;
  y=A0+A1*x + A2*(x**2) + ... + An*(pow(x, n))
&lt;指数関数積&gt;
  y=exp(A0) * exp(A1*x) * exp(A2*x*x) * ... * exp(An*(pow(x, n)))
&lt;任意関数 線型和&gt;
  y=A0*f0(x) + A1*f1(x) + ... + A5*f5(x)
  f0(x) ... f5(x)を別指定</source>
        <translation>&lt;Polynomial of degree n&gt;
  y=A0+A1*x + A2*(x**2) + ... + An*(pow(x, n))
&lt;Product of exponentials&gt;
  y=exp(A0) * exp(A1*x) * exp(A2*x*x) * ... * exp(An*(pow(x, n)))
&lt;Sum of functions&gt;
  y=A0*f0(x) + A1*f1(x) + ... + A5*f5(x)
  f0(x) ... f5(x) are given separately</translation>
    </message>
    <message>
        <source>リニア</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>対数</source>
        <translation>Logarithmic</translation>
    </message>
    <message>
        <source>フィッティング</source>
        <translation>Fitting</translation>
    </message>
    <message>
        <source>モデル関数</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>ｎ次多項式</source>
        <translation>Polynomial of degree n</translation>
    </message>
    <message>
        <source>指数関数積</source>
        <translation>Product of exponentials</translation>
    </message>
    <message>
        <source>任意関数 線型和</source>
        <translation>Sum of functions</translation>
    </message>
    <message>
        <source>次数 n</source>
        <translation>Degree n</translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f0(x)を指定します</source>
        <translation>f0(x) of the sum of functions</translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f1(x)を指定します</source>
        <translation>f1(x) of the sum of functions</translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f2(x)を指定します</source>
        <translation>f2(x) of the sum of functions</translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f3(x)を指定します</source>
        <translation>f3(x) of the sum of functions</translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f4(x)を指定します</source>
        <translation>f4(x) of the sum of functions</translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f5(x)を指定します</source>
        <translation>f5(x) of the sum of functions</translation>
    </message>
    <message>
        <source>X軸</source>
        <translation>X axis</translation>
    </message>
    <message>
        <source>X最小 Xmin</source>
        <translation>Smallest X, Xmin</translation>
    </message>
    <message>
        <source>X最大 Xmax</source>
        <translation>Largest X, Xmax</translation>
    </message>
    <message>
        <source>X リニア／対数</source>
        <translation>X linear/log</translation>
    </message>
    <message>
        <source>X軸&#x3000;リニア／対数</source>
        <translation>X axis: linear or logarithmic</translation>
    </message>
    <message>
        <source>Y軸</source>
        <translation>Y axis</translation>
    </message>
    <message>
        <source>Y最小 Ymin</source>
        <translation>Smallest Y, Ymin</translation>
    </message>
    <message>
        <source>Y最大 Ymax</source>
        <translation>Largest Y, Ymax</translation>
    </message>
    <message>
        <source>Y リニア／対数</source>
        <translation>Y linear/log</translation>
    </message>
    <message>
        <source>Y軸&#x3000;リニア／対数</source>
        <translation>Y axis: linear or logarithmic</translation>
    </message>
    <message>
        <source>グラフ生成</source>
        <translation>Generated graph</translation>
    </message>
    <message>
        <source>データ数</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>フィッティング実行後、グラフ作成するデータ数</source>
        <translation>How many points of the fitted curve are generated after a fit</translation>
    </message>
    <message>
        <source>グラフ表示</source>
        <translation>Graph display</translation>
    </message>
    <message>
        <source>データ表示</source>
        <translation>Data display</translation>
    </message>
    <message>
        <source>グラフ内 データ点、線 表示設定</source>
        <translation>How the graph shows its points and lines</translation>
    </message>
    <message>
        <source>点</source>
        <translation>Markers</translation>
    </message>
    <message>
        <source>線</source>
        <translation>Lines</translation>
    </message>
    <message>
        <source>点 + 線</source>
        <translation>Markers + lines</translation>
    </message>
    <message>
        <source>点 + 番号</source>
        <translation>Markers + numbers</translation>
    </message>
    <message>
        <source>グリッド</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>グラフ内 グリッド 表示設定</source>
        <translation>Whether the graph shows a grid</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>Shown</translation>
    </message>
    <message>
        <source>非表示</source>
        <translation>Hidden</translation>
    </message>
    <message>
        <source>グラフの色</source>
        <translation>Graph colour</translation>
    </message>
    <message>
        <source>グラフの色を指定します</source>
        <translation>The colour of the generated graph</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>生成するグラフ内のフォントを指定します</source>
        <translation>The font of the generated graph&apos;s labels</translation>
    </message>
    <message>
        <source>マッピング</source>
        <translation>Mapping</translation>
    </message>
    <message>
        <source>マッピング方式</source>
        <translation>Mapping method</translation>
    </message>
    <message>
        <source>マッピング 実行時の変換
&lt;双一次 (標準)&gt;
  4点の辺に沿って補間します。正面から撮影したグラフ向き
&lt;射影変換&gt;
  斜めから撮影したグラフの遠近のゆがみも補正し、等間隔の目盛りを等間隔に戻します</source>
        <translation>The transformation of Run Mapping
&lt;Bilinear (default)&gt;
  Interpolates along the sides of the four corners. For charts photographed head-on
&lt;Perspective&gt;
  Also corrects the perspective of a chart photographed at an angle, so evenly spaced ticks become evenly spaced again</translation>
    </message>
    <message>
        <source>双一次 (標準)</source>
        <translation>Bilinear (default)</translation>
    </message>
    <message>
        <source>射影変換</source>
        <translation>Perspective</translation>
    </message>
    <message>
        <source>画素の補間</source>
        <translation>Pixel sampling</translation>
    </message>
    <message>
        <source>射影変換で画素を読む方法
&lt;なし (最近傍)&gt;
  最も近い画素をそのまま使います
&lt;双一次補間&gt;
  周りの4画素を重み付けして読み、線の位置を画素以下の精度で保ちます</source>
        <translation>How the perspective mapping reads pixels
&lt;None (nearest)&gt;
  Takes the nearest pixel as it is
&lt;Bilinear&gt;
  Weighs the four pixels around, keeping the position of lines to a fraction of a pixel</translation>
    </message>
    <message>
        <source>日付</source>
        <translation>Date</translation>
    </message>
</context>
<context>
    <name>qf::SettingsPane</name>
    <message>
        <source>フィッティング 設定</source>
        <translation>Fit Settings</translation>
    </message>
    <message>
        <source>すべて展開</source>
        <translation>Expand All</translation>
    </message>
    <message>
        <source>フィッティング 実行</source>
        <translation>Run Fit</translation>
    </message>
</context>
</TS>
